#include "platform/process_launch.h"

#include <utility>

namespace ost {

bool LaunchProcess(const std::string& application, const std::string& commandLine,
                   DWORD creationFlags, ScopedHandle* process) {
  std::string line = commandLine;  // CreateProcessA may write into the command line
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessA(application.empty() ? nullptr : application.c_str(),
                        line.empty() ? nullptr : line.data(), nullptr, nullptr, FALSE,
                        creationFlags, nullptr, nullptr, &startup, &info))
    return false;
  ScopedHandle thread(info.hThread);
  ScopedHandle owned(info.hProcess);
  if (process) *process = std::move(owned);
  return true;
}

}  // namespace ost
