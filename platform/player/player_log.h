// "Quendor.log" beside the player: one line per event, "YYYY-MM-DD hh:mm:ss.mmm KIND text".
#pragma once

#include <string>

class PlayerLog {
 public:
  explicit PlayerLog(std::string path) : m_path(std::move(path)) {}

  // Appends "<time stamp> <kind>" and, unless text is empty, " <text>".  The file is opened for
  // each line, so several players and a reading test can share it.  False if it cannot be written.
  bool Append(const std::string& kind, const std::string& text) const;

  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

// Log kinds.
inline constexpr const char kLogCommandLine[] = "CMDLINE";
inline constexpr const char kLogRecordCheck[] = "QDXCHECK";  // the check of a ".qdx" file
