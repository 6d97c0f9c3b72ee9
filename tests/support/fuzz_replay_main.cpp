// Replay driver for fuzz targets in builds without libFuzzer: feeds every file of the folders
// or files named on the command line, then a fixed batch of pseudo-random inputs.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {
void RunFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}
}  // namespace

int main(int argc, char** argv) {
  size_t files = 0;
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path p(argv[i]);
    if (std::filesystem::is_directory(p)) {
      for (const auto& e : std::filesystem::recursive_directory_iterator(p)) {
        if (e.is_regular_file()) {
          RunFile(e.path());
          ++files;
        }
      }
    } else if (std::filesystem::is_regular_file(p)) {
      RunFile(p);
      ++files;
    }
  }
  std::mt19937 rng(12345);
  std::vector<uint8_t> buf;
  for (int n = 0; n < 20000; ++n) {
    buf.resize(rng() % 2048);
    for (auto& b : buf) b = static_cast<uint8_t>(rng());
    LLVMFuzzerTestOneInput(buf.data(), buf.size());
  }
  std::printf("replayed %zu files and 20000 random inputs\n", files);
  return 0;
}
