#include "bench/process_cpu.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

double FileTimeSeconds(const FILETIME& t) {
  return static_cast<double>((uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime) * 1e-7;
}

double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  return FileTimeSeconds(kernel) + FileTimeSeconds(user);
}

double HostProcessCpuSeconds(int pid, int clockTicks) {
  if (pid <= 0 || clockTicks <= 0) return -1;
  std::ifstream in("Z:\\proc\\" + std::to_string(pid) + "\\stat");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t paren = text.rfind(')');  // the command name may hold spaces
  if (paren == std::string::npos) return -1;
  std::vector<std::string> fields;
  size_t i = paren + 1;
  while (i < text.size() && text[i] != '\n' && fields.size() < 13) {
    while (i < text.size() && text[i] == ' ') ++i;
    const size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '\n') ++i;
    if (i > start) fields.push_back(text.substr(start, i - start));
  }
  // After the name: state is field 3, utime 14, stime 15.
  if (fields.size() < 13) return -1;
  return (std::atof(fields[11].c_str()) + std::atof(fields[12].c_str())) / clockTicks;
}
