// Loads every skin bitmap the way the program does (LoadImage from the file by its relative
// name, from the program's folder as current folder) and compares the loaded size with the
// listed one: skin_load_check <program folder>
#include <windows.h>

#include <cstdio>

#include "res/skin/skin_table.h"

int main(int argc, char** argv) {
  if (argc != 2 || !SetCurrentDirectoryA(argv[1])) {
    std::fprintf(stderr, "usage: %s <program folder>\n", argv[0]);
    return 2;
  }
  int problems = 0;
  for (const SkinBitmap& b : SkinBitmaps()) {
    HANDLE image = LoadImageA(nullptr, b.name.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (!image) {
      std::fprintf(stderr, "%s: LoadImage failed, error %lu\n", b.name.c_str(), GetLastError());
      ++problems;
      continue;
    }
    BITMAP info{};
    GetObjectA(image, sizeof info, &info);
    if (info.bmWidth != b.width || info.bmHeight != b.height) {
      std::fprintf(stderr, "%s: loaded %ldx%ld, listed %dx%d\n", b.name.c_str(), info.bmWidth,
                   info.bmHeight, b.width, b.height);
      ++problems;
    }
    DeleteObject(image);
  }
  std::printf("skin loaded: %d problem(s)\n", problems);
  return problems ? 1 : 0;
}
