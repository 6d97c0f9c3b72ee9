#include "net/local_ip.h"

#include <winsock2.h>

#include <cstdio>

std::string g_strLocalIPAddress = "127.0.0.1";

void GetLocalIpString(char* text, size_t size) {
  if (!text || size == 0) return;
  char name[200] = {};
  const hostent* host = gethostname(name, sizeof name) == 0 ? gethostbyname(name) : nullptr;
  if (!host || host->h_addrtype != AF_INET || host->h_length != 4 || !host->h_addr_list ||
      !host->h_addr_list[0]) {
    std::snprintf(text, size, "127.0.0.1");
    return;
  }
  const auto* a = reinterpret_cast<const unsigned char*>(host->h_addr_list[0]);
  std::snprintf(text, size, "%d.%d.%d.%d", a[0], a[1], a[2], a[3]);
}
