#include "devsim/options.h"

#include <cstdlib>
#include <string_view>

#include "devsim/device_profile.h"
#include "devsim/fault_registry.h"
#include "devsim/server.h"

namespace devsim {
namespace {

std::optional<int> ParseInt(std::string_view s, int lo, int hi) {
  if (s.empty() || s.size() > 9) return std::nullopt;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (v < lo || v > hi) return std::nullopt;
  return v;
}

// Options that are shorthands for one setting key.
struct Shorthand {
  std::string_view option;
  std::string_view key;
  std::string_view fixed_value;  // for options without an argument
};
constexpr Shorthand kShorthands[] = {
    {"--firmware", "firmware", ""},
    {"--mac", "mac", ""},
    {"--host-name", "host_name", ""},
    {"--capability-mask", "capability_mask", ""},
    {"--account", "account", ""},
    {"--online-length", "online_length", ""},
    {"--no-cookie-check", "check_cookie", "0"},
    {"--fps", "stream.fps", ""},
};

}  // namespace

std::optional<Options> ParseOptions(int argc, char** argv, std::string* error) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= argc) {
        *error = std::string(arg) + " needs a value";
        return std::nullopt;
      }
      return std::string(argv[++i]);
    };
    if (arg == "--help" || arg == "-h") {
      o.help = true;
      continue;
    }
    const Shorthand* shorthand = nullptr;
    for (const auto& s : kShorthands) {
      if (s.option == arg) shorthand = &s;
    }
    if (shorthand) {
      if (!shorthand->fixed_value.empty()) {
        o.settings.emplace_back(shorthand->key, shorthand->fixed_value);
        continue;
      }
      auto v = value();
      if (!v) return std::nullopt;
      o.settings.emplace_back(shorthand->key, *v);
      continue;
    }
    auto v = value();
    if (!v) return std::nullopt;
    if (arg == "--port") {
      if (*v == "auto") {
        o.port.reset();
      } else if (auto p = ParseInt(*v, 0, 65535)) {
        o.port = *p;
      } else {
        *error = "--port: expected 0 to 65535 or auto";
        return std::nullopt;
      }
    } else if (arg == "--bind") {
      o.bind = *v;
    } else if (arg == "--port-file") {
      o.port_file = *v;
    } else if (arg == "--log") {
      o.log_file = *v;
    } else if (arg == "--product") {
      if (!BuiltinProfile(*v)) {
        *error = "--product: unknown profile " + *v;
        return std::nullopt;
      }
      o.product = *v;
    } else if (arg == "--profile") {
      o.settings.emplace_back("@file", *v);
    } else if (arg == "--set") {
      size_t eq = v->find('=');
      if (eq == std::string::npos) {
        *error = "--set: expected KEY=VALUE";
        return std::nullopt;
      }
      o.settings.emplace_back(v->substr(0, eq), v->substr(eq + 1));
    } else if (arg == "--blocks") {
      o.blocks_file = *v;
    } else if (arg == "--fault") {
      o.faults.push_back(*v);
    } else if (arg == "--record-stream") {
      o.record_stream = *v;
    } else if (arg == "--frames") {
      auto n = ParseInt(*v, 1, 1000000);
      if (!n) {
        *error = "--frames: expected 1 to 1000000";
        return std::nullopt;
      }
      o.record_frames = *n;
    } else if (arg == "--read-timeout") {
      auto ms = ParseInt(*v, 1, 3600000);
      if (!ms) {
        *error = "--read-timeout: expected milliseconds from 1 to 3600000";
        return std::nullopt;
      }
      o.read_timeout_ms = *ms;
    } else {
      *error = "unknown option " + std::string(arg);
      return std::nullopt;
    }
  }
  return o;
}

std::string HelpText() {
  std::string h =
      "usage: devsim [options]\n"
      "Simulated device for the client's tests: serves the device's HTTP CGI commands on a\n"
      "loopback address, one request per connection, and logs every request.\n"
      "\n"
      "Options:\n"
      "  --port N|auto          listening port (default 8080); 0: any free port; auto: a free\n"
      "                         port from " +
      std::to_string(kAutoPortFirst) + " to " + std::to_string(kAutoPortLast) +
      "\n"
      "  --bind ADDR            listening address, 127.x.y.z only (default 127.0.0.1)\n"
      "  --port-file FILE       write the port number to FILE once listening\n"
      "  --log FILE             request log, one JSON object per line (see README.md)\n"
      "  --product NAME         built-in profile:";
  for (const auto& n : BuiltinProfileNames()) h += " " + n;
  h += " (default RZ1K)\n"
       "  --profile FILE         key=value settings file (keys below), applied in order\n"
       "  --set KEY=VALUE        one setting, applied in command-line order\n"
       "  --firmware V           = --set firmware=V\n"
       "  --mac V                = --set mac=V\n"
       "  --host-name V          = --set host_name=V\n"
       "  --capability-mask N    = --set capability_mask=N\n"
       "  --account U:P:L[:T]    = --set account=U:P:L[:T]\n"
       "  --online-length N      = --set online_length=N\n"
       "  --no-cookie-check      = --set check_cookie=0\n"
       "  --fps N                = --set stream.fps=N (frames per second of the live stream)\n"
       "  --blocks FILE          configuration blocks: loaded at start when FILE exists (before\n"
       "                         the settings), saved after every accepted /SetSysCfg.cgi\n"
       "  --fault NAME[,K=V...]  switch a fault on (repeatable); see the list below\n"
       "  --read-timeout MS      give up on a client that sends no complete request (30000)\n"
       "  --record-stream FILE   write --frames frames of the live stream (the bytes a client\n"
       "                         without a session receives from /Getvideo.cgi) to FILE and\n"
       "                         exit, without listening; settings and stream faults apply\n"
       "  --frames N             frames to record (default 100)\n"
       "  --help                 this text\n"
       "\n"
       "On start devsim prints \"PORT <n>\" on stdout.  SIGTERM or SIGINT stop it cleanly.\n"
       "\n"
       "/Getvideo.cgi answers with frames only (no HTTP reply head): a header in layout 1\n"
       "(NEWHR=1 at /Getdeviceinfo.cgi) or layout 2, then a JPEG starting FF D8 FF DB, at\n"
       "stream.fps frames per second.  /SetChannel.cgi CH, /Setresolution.cgi RES and\n"
       "/Setquality.cgi QUA change the session's stream from its next frame.\n"
       "\n"
       "Settings (profile file lines, --set, /_devsim/set?KEY=VALUE):\n";
  for (const auto& k : SettingKeys()) {
    std::string key(k.key);
    h += "  " + key + std::string(key.size() < 20 ? 20 - key.size() : 1, ' ') + " " +
         std::string(k.help) + "\n";
  }
  h += "\n"
       "Faults (common parameters: count=N fire N times then vanish (default: for ever),\n"
       "skip=N let N matching requests pass first, every=N then fire on one of every N,\n"
       "path=P only on path P (* any), option=O only when the Option parameter is O (* any)).\n"
       "The stream-* faults fire on frames of /Getvideo.cgi streams (count, skip and every\n"
       "count frames of all streams):\n";
  for (const auto& f : FaultKinds()) {
    std::string line = "  " + std::string(f.name);
    for (const auto& [k, v] : f.params) line += "," + std::string(k) + "=" + std::string(v);
    h += line + "\n      " + std::string(f.help) + " [path " +
         (f.default_path.empty() ? std::string("*") : std::string(f.default_path)) +
         (f.default_option.empty() ? "" : ", option " + std::string(f.default_option)) + "]\n";
  }
  h += "\n"
       "Control paths on the same port (not logged, no cookie needed):\n"
       "  /_devsim/fault?name=NAME&K=V...   add a fault; replies id=N\n"
       "  /_devsim/clear-faults[?name=NAME] remove faults\n"
       "  /_devsim/faults                   list the active faults\n"
       "  /_devsim/set?KEY=VALUE&...        change settings (all or nothing)\n"
       "  /_devsim/block?option=NAME        the stored bytes of a block\n"
       "  /_devsim/ports                    ports listened on besides the first (IP block writes)\n"
       "  /_devsim/sessions                 number of open sessions\n"
       "  /_devsim/streams                  open=N frames=N encodes=N of the live streams\n"
       "  /_devsim/logout-all               forget every session\n";
  return h;
}

}  // namespace devsim
