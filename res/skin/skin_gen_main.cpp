// Writes every skin bitmap beside the program: skin_gen <program folder> [list file]
// The list file, written last, names each bitmap written (the build's record that the skin is
// complete).
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "res/skin/bmp_file.h"
#include "res/skin/skin_table.h"

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Removes files beside the given one whose names differ from it only in letter case (left by an
// older skin): Windows, and Wine, would open either of them.
void RemoveCaseTwins(const fs::path& file) {
  std::error_code ec;
  const std::string wanted = file.filename().string();
  for (const auto& entry : fs::directory_iterator(file.parent_path(), ec)) {
    const std::string name = entry.path().filename().string();
    if (name != wanted && Lower(name) == Lower(wanted)) fs::remove(entry.path(), ec);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s <program folder> [list file]\n", argv[0]);
    return 2;
  }
  const fs::path folder = argv[1];
  std::string list;
  for (const SkinBitmap& bitmap : SkinBitmaps()) {
    const Canvas picture = bitmap.draw();
    if (picture.Width() != bitmap.width || picture.Height() != bitmap.height) {
      std::fprintf(stderr, "%s: drawn %dx%d, listed %dx%d\n", bitmap.name.c_str(), picture.Width(),
                   picture.Height(), bitmap.width, bitmap.height);
      return 1;
    }
    const fs::path file = folder / SkinFilePath(bitmap.name);
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    RemoveCaseTwins(file);
    const auto bytes = EncodeBmp24(picture);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", file.string().c_str());
      return 1;
    }
    list += bitmap.name + '\n';
  }
  if (argc == 3) {
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << list;
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", argv[2]);
      return 1;
    }
  }
  return 0;
}
