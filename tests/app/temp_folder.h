// A fresh folder under the system's temporary folder, removed with everything in it.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> serial{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("ost_app_" + std::to_string(stamp) + "_" + std::to_string(serial++));
    std::filesystem::create_directories(path_);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }

  // The folder as the program keeps folders: ending in a separator.
  std::string Dir() const {
    return path_.string() + static_cast<char>(std::filesystem::path::preferred_separator);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

  static std::string Read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static void Write(const std::string& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
  }

 private:
  std::filesystem::path path_;
};
