// The firmware upload: which method a device takes, the requests of both methods, and the walk
// over the parts that sends them through a transport (sockets in the program, fakes in tests).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "net/cgi_param_list.h"
#include "tools/firmware_image.h"

inline constexpr int kMsgUpgradeError = 4077;     // "Upgrade firmware error"
inline constexpr int kMsgOverwriteFlash = 4048;   // "Overwrite flash right now..."
inline constexpr uint8_t kCgiUpgradeFW = 9;       // "/UpgradeFW.cgi"
inline constexpr uint8_t kCgiGetVersion = 24;     // "/GetVersion.cgi"
inline constexpr uint8_t kCgiCancelUpgrade = 37;  // "/CancelUPFW.cgi"

inline constexpr uint32_t kChunkedPieceSize = 900;
inline constexpr uint32_t kStreamedPieceSize = 1300;

enum class UpgradeMethod {
  kNone,
  kImageChunked,
  kImageStreamed,
  kFileSetChunked,
  kFileSetStreamed
};

// By family and firmware version: file sets for the three-model family (streamed from "1070"),
// images for the others (streamed only for the RZ2K from "1013"); kNone for other devices.
UpgradeMethod SelectUpgradeMethod(std::string_view productId, std::string_view fwVersion);
bool IsStreamedMethod(UpgradeMethod method);
bool IsFileSetMethod(UpgradeMethod method);
uint32_t PieceSizeOf(UpgradeMethod method);

// "1031" shows as "1.0.3.1"; missing characters show as blanks.
std::string FirmwareVersionLabel(std::string_view fwVersion);

// Pieces of a part: size / pieceSize, one more for a remainder.
uint32_t PieceCount(uint32_t size, uint32_t pieceSize);
// sent * 100 / total, 0 for a zero total.
uint32_t ProgressPercent(uint64_t sent, uint64_t total);

// The hold request on "/Getvideo.cgi" and the streamed part's request, with their fixed header
// lines; host is the client's own address text.
std::string ComposeHoldRequest(std::string_view cookie, std::string_view host);
std::string ComposeStreamedUploadRequest(std::string_view cookie, uint32_t fileSize, int32_t type,
                                         bool reboot, std::string_view host);

// One chunked piece of a part.
struct ChunkedPiece {
  uint32_t index = 0;
  uint32_t count = 1;
  uint32_t partSize = 0;
  bool fileSet = false;
  int32_t row = 0;            // file sets: the part's row
  std::string_view partName;  // images: "BOOT", "KERNEL", "HTML" or the one kept before
  bool lastPart = false;
};
CGIParamList ChunkedPieceQuery(const ChunkedPiece& piece, std::string_view cookie);
// The cancel request of the method: "/UpgradeFW.cgi?Upgrade=Cancel" or "/CancelUPFW.cgi".
CGIParamList CancelUpgradeRequest(UpgradeMethod method, std::string_view cookie);
CGIParamList GetVersionRequest(std::string_view cookie);

// One part to send, with its Type: the row, the image part name (chunked) or number (streamed).
struct UploadPart {
  const uint8_t* data = nullptr;
  uint32_t size = 0;
  int32_t type = 0;
  std::string name;
};
std::vector<UploadPart> FileSetUploadParts(const FileSetTable& table);
// A record of a type other than boot, kernel and web pages keeps the name or number before it.
std::vector<UploadPart> ImageUploadParts(const ParsedFirmwareImage& image, bool streamed);

enum class PieceResult {
  kAccepted,    // status 200
  kRefused,     // another status
  kUnanswered,  // sent whole, then no reply or a closed connection
  kNotSent,     // no connection, or the send failed
};

// What the walk sends through. Every operation returns early once a stop was requested.
class UploadTransport {
 public:
  virtual ~UploadTransport() = default;
  virtual bool OpenHold(const std::string& request) = 0;
  virtual void CloseHold() = 0;
  virtual PieceResult SendChunk(const std::string& query, const uint8_t* body, uint32_t size) = 0;
  virtual bool OpenStream(const std::string& request) = 0;
  virtual bool SendStreamPiece(const uint8_t* data, uint32_t size) = 0;
  // Reads the reply after a streamed part and closes the connection: its HTTP status, or 0 when
  // nothing, a close or something other than an HTTP status line came.
  virtual int32_t FinishStream() = 0;
  // Waits ms milliseconds, or less when a stop is requested.
  virtual void Pause(uint32_t ms) = 0;
};

class UploadObserver {
 public:
  virtual ~UploadObserver() = default;
  virtual void Busy() = 0;
  virtual void Progress(uint32_t percent) = 0;
  virtual bool StopRequested() = 0;
};

enum class UploadOutcome {
  kCompleted,
  kHoldFailed,    // the hold connection
  kPieceFailed,   // a chunked piece
  kStreamFailed,  // a streamed part's connection or send, or its explicit refusal
  kStopped,
};

struct UploadJob {
  UpgradeMethod method = UpgradeMethod::kNone;
  std::vector<UploadPart> parts;
  uint64_t total = 0;  // the 100 % mark
  std::string cookie;
  std::string host;
};

// The hold connection, then every part in order. A stop ends the walk before the next piece
// or wait; the hold connection is closed on every end but completion.
UploadOutcome RunFirmwareUpload(const UploadJob& job, UploadTransport& transport,
                                UploadObserver& observer);
