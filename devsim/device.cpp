#include "devsim/device.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace devsim {

bool Device::SaveBlocks(std::string* error) const {
  if (blocks_file.empty()) return true;
  std::string tmp = blocks_file + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    out << blocks.ToText();
    if (!out) {
      *error = "cannot write " + tmp;
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(tmp, blocks_file, ec);
  if (ec) {
    *error = "cannot rename " + tmp + ": " + ec.message();
    return false;
  }
  return true;
}

bool Device::LoadBlocks(std::string* error) {
  if (blocks_file.empty() || !std::filesystem::exists(blocks_file)) return true;
  std::ifstream in(blocks_file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  if (!in) {
    *error = "cannot read " + blocks_file;
    return false;
  }
  std::string why;
  if (!blocks.ApplyText(text.str(), &why)) {
    *error = blocks_file + ": " + why;
    return false;
  }
  return true;
}

}  // namespace devsim
