// Checks the skin beside the program: skin_check <program folder>
// Every listed bitmap must exist under its exact name, be an uncompressed 24-bit BMP of its
// listed size, and no two names may differ only in letter case (Windows would see one file).
#include <cctype>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "res/skin/bmp_file.h"
#include "res/skin/skin_table.h"

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool ReadFile(const fs::path& path, std::vector<std::uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <program folder>\n", argv[0]);
    return 2;
  }
  const fs::path folder = argv[1];
  int problems = 0;
  auto report = [&](const std::string& name, const std::string& what) {
    std::fprintf(stderr, "%s: %s\n", name.c_str(), what.c_str());
    ++problems;
  };

  const std::vector<SkinBitmap> bitmaps = SkinBitmaps();
  std::map<std::string, std::string> seen;  // lower-case name -> name
  for (const SkinBitmap& b : bitmaps) {
    if (b.name.rfind("BMP\\", 0) != 0) report(b.name, "not under \"BMP\\\"");
    const auto [it, added] = seen.emplace(Lower(b.name), b.name);
    if (!added) report(b.name, "same name as " + it->second + " apart from letter case");

    std::vector<std::uint8_t> bytes;
    if (!ReadFile(folder / SkinFilePath(b.name), bytes)) {
      report(b.name, "missing");
      continue;
    }
    const BmpCheck check = CheckBmp24(bytes);
    if (!check.valid) {
      report(b.name, "not a valid 24-bit BMP: " + check.problem);
    } else if (check.width != b.width || std::abs(check.height) != b.height) {
      report(b.name, "size " + std::to_string(check.width) + "x" +
                         std::to_string(std::abs(check.height)) + ", listed " +
                         std::to_string(b.width) + "x" + std::to_string(b.height));
    }
  }
  std::printf("%zu skin bitmaps checked in %s: %d problem(s)\n", bitmaps.size(),
              folder.string().c_str(), problems);
  return problems ? 1 : 0;
}
