// Blocking socket helpers whose every wait also ends when the stop descriptor becomes readable.
#pragma once

#include <string_view>

namespace devsim {

enum class WaitResult { kReady, kTimeout, kStopped, kError };

// Waits for `events` (POLLIN / POLLOUT) on fd; timeout_ms < 0 waits without limit.
WaitResult WaitFor(int fd, short events, int stop_fd, int timeout_ms);

bool SendAll(int fd, std::string_view data, int stop_fd, int timeout_ms);

// Sleeps ms milliseconds; false when stopped first.
bool Pause(int stop_fd, int ms);

// Waits until the peer closes (data it sends is read and dropped), the stop descriptor fires or
// timeout_ms passes (< 0: no limit).  True when the peer closed or failed.
bool WaitForPeerClose(int fd, int stop_fd, int timeout_ms);

// Ends our side (FIN), reads what the peer still sends until it closes (at most 2 s), closes.
void CloseGracefully(int fd, int stop_fd);

// Aborts the connection (RST).
void CloseWithReset(int fd);

}  // namespace devsim
