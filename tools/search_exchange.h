// The LAN search over Windows sockets: the broadcast send, the many-reply search (on a thread,
// stopped cooperatively) and the single-reply set-up exchange.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>

#include "tools/search_packet.h"

// Sends the packet once from ownAddress:3333 to 255.255.255.255:7777; false on any socket failure.
bool SendSearchBroadcast(const SEARCH_PACKET& packet, const std::string& ownAddress);

// A socket bound to 0.0.0.0:3332 for replies; INVALID_SOCKET when it cannot be created or bound
// (*bindFailed tells which).
SOCKET OpenSearchReplySocket(bool* bindFailed);

enum class SearchEnd { kDone, kNoSocket, kBindFailed, kStopped };

struct SearchCallbacks {
  std::function<void(const SEARCH_PACKET&)> reply;  // each 76-byte datagram, in arrival order
  std::function<void()> sendFailed;
};

// Binds the reply port, broadcasts "QX_SEARCH", then takes replies while each arrives within
// 5 s and for at most 10 s from the start (datagrams of another size are skipped). A stop ends
// it within a fraction of a second.
SearchEnd RunSearch(const std::string& ownAddress, const SearchCallbacks& callbacks,
                    const std::atomic<bool>& stop);

enum class SetupEnd { kReply, kNoSocket, kBindFailed, kTimeout, kReceiveFailed };

// Sends a set-up request and waits up to waitMs for one 76-byte reply (others skipped).
SetupEnd RunSetupExchange(const SEARCH_PACKET& request, const std::string& ownAddress, DWORD waitMs,
                          SEARCH_PACKET* reply, const std::function<void()>& sendFailed);
