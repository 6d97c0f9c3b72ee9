// devsim: the device simulator.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "devsim/block_seed.h"
#include "devsim/device.h"
#include "devsim/options.h"
#include "devsim/request_log.h"
#include "devsim/server.h"
#include "devsim/stream_recorder.h"

namespace {

int g_signal_write_fd = -1;

void OnStopSignal(int) {
  char c = 1;
  [[maybe_unused]] ssize_t n = write(g_signal_write_fd, &c, 1);
}

bool ReadFile(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::stringstream s;
  s << in.rdbuf();
  *text = s.str();
  return true;
}

bool WritePortFile(const std::string& path, int port) {
  std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::trunc);
    out << port << "\n";
    if (!out) return false;
  }
  std::error_code ec;
  std::filesystem::rename(tmp, path, ec);
  return !ec;
}

bool Configure(const devsim::Options& o, devsim::Device& device, std::string* error) {
  device.profile = *devsim::BuiltinProfile(o.product);
  device.blocks_file = o.blocks_file;
  if (!device.LoadBlocks(error)) return false;
  for (const auto& [key, value] : o.settings) {
    std::string why;
    if (key == "@file") {
      std::string text;
      if (!ReadFile(value, &text)) {
        *error = "cannot read profile " + value;
        return false;
      }
      if (!devsim::ApplySettingsText(text, device.profile, device.blocks, &why)) {
        *error = value + ": " + why;
        return false;
      }
    } else if (!devsim::ApplySetting(key, value, device.profile, device.blocks, &why)) {
      *error = why;
      return false;
    }
  }
  if (device.profile.seed_blocks) {
    devsim::SeedBlocks(device.blocks, device.profile.product_id, device.profile.firmware,
                       device.profile.capability_mask);
  }
  for (const auto& text : o.faults) {
    auto wanted = devsim::ParseFaultRequest(text, error);
    if (!wanted || device.faults.Add(*wanted, error) == 0) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  auto options = devsim::ParseOptions(argc, argv, &error);
  if (!options) {
    std::cerr << "devsim: " << error << "\n(devsim --help lists the options)\n";
    return 2;
  }
  if (options->help) {
    std::cout << devsim::HelpText();
    return 0;
  }

  devsim::Device device;
  if (!Configure(*options, device, &error)) {
    std::cerr << "devsim: " << error << "\n";
    return 2;
  }
  if (!options->record_stream.empty()) {
    devsim::RecordSummary summary;
    if (!devsim::RecordStream(device, options->record_stream, options->record_frames, &summary,
                              &error)) {
      std::cerr << "devsim: " << error << "\n";
      return 1;
    }
    std::cout << "RECORDED " << summary.frames << " frames " << summary.bytes << " bytes"
              << std::endl;
    return 0;
  }

  devsim::RequestLog log;
  if (!options->log_file.empty() && !log.Open(options->log_file, &error)) {
    std::cerr << "devsim: " << error << "\n";
    return 2;
  }

  int signal_pipe[2];
  if (pipe2(signal_pipe, O_CLOEXEC) != 0) {
    std::cerr << "devsim: cannot create the signal pipe\n";
    return 1;
  }
  g_signal_write_fd = signal_pipe[1];
  struct sigaction sa {};
  sa.sa_handler = OnStopSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  signal(SIGPIPE, SIG_IGN);

  devsim::Server server(device, options->log_file.empty() ? nullptr : &log,
                        options->read_timeout_ms);
  if (!server.Listen(options->bind, options->port, &error)) {
    std::cerr << "devsim: " << error << "\n";
    return 1;
  }
  device.listen_also = [&server](int port) { return server.ListenAlso(port); };
  if (!options->port_file.empty() && !WritePortFile(options->port_file, server.port())) {
    std::cerr << "devsim: cannot write " << options->port_file << "\n";
    return 1;
  }
  std::cout << "PORT " << server.port() << std::endl;

  server.Run(signal_pipe[0]);
  server.Shutdown();
  close(signal_pipe[0]);
  close(signal_pipe[1]);
  return 0;
}
