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
// The download link: "MUTEX <name>", "FOLLOW <path>" (WM_COPYDATA 2 and 1), "OPEN", "PROGRESS
// <bytes>", "DONE <0|1>", "ERROR 0x<code>" (WM_USER+3584, 3586-3588), "ATTACH <step KB>" when
// the player asks for reports.
inline constexpr const char kLogMutex[] = "MUTEX";
inline constexpr const char kLogFollow[] = "FOLLOW";
inline constexpr const char kLogOpen[] = "OPEN";
inline constexpr const char kLogAttach[] = "ATTACH";
inline constexpr const char kLogProgress[] = "PROGRESS";
inline constexpr const char kLogDone[] = "DONE";
inline constexpr const char kLogError[] = "ERROR";
