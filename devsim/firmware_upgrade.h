// The device's firmware upgrade endpoints: the chunked "/UpgradeFW.cgi" parts, the streamed
// "/UpgradeFW2.cgi" parts, "/CancelUPFW.cgi", "/GetVersion.cgi" and the hold connection
// ("/Getvideo.cgi" with Fake=1), with the received parts kept for tests.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "devsim/http_reply.h"
#include "devsim/http_request.h"

namespace devsim {

struct Request;
struct Device;

// Bytes a streamed upload may announce.
inline constexpr uint64_t kMaxStreamedPart = 256ull << 20;
inline constexpr size_t kMaxChunkedBody = 900;

struct StoredFirmwarePart {
  std::string method;  // "chunked" or "streamed"
  std::string type;    // the Type value as sent ("" when none came)
  std::string data;
  bool reboot = false;
  bool hold_open = false;  // a hold connection was open when the part was whole, none closed
                           // while it came
};

// Locks itself.
class FirmwareStore {
 public:
  void HoldOpened();
  void HoldClosed();
  int OpenHolds() const;

  Reply Chunked(const RequestHead& head, std::string_view body);
  Reply Streamed(const RequestHead& head, std::string_view body);
  Reply Cancel(std::string_view path);

  // One line per stored part and cancel: "part method=.. type=.. size=.. fnv=<hex> reboot=0|1
  // hold=0|1", "cancel path=..", "holds open=N".
  std::string Listing() const;
  void Clear();

 private:
  mutable std::mutex mu_;
  int holds_ = 0;
  uint64_t holds_closed_ = 0;
  uint64_t pending_closed_ = 0;  // holds_closed_ when the pending part started
  bool pending_ = false;  // a chunked part between Start and Finished
  StoredFirmwarePart pending_part_;
  uint64_t pending_size_ = 0;
  std::vector<StoredFirmwarePart> parts_;
  std::vector<std::string> cancels_;
};

// The raw bytes that follow the head of a streamed upload (FILESIZE), 0 for other requests;
// nothing for a FILESIZE that is missing or too large.
std::optional<uint64_t> StreamedUploadLength(const RequestHead& head);

// A hold request: "/Getvideo.cgi" with Fake=1.
bool IsHoldRequest(const RequestHead& head);

uint64_t Fnv1a64(std::string_view data);

}  // namespace devsim
