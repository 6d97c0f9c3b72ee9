// Network backup: the device's disk list, the backup request, its chunked reply, the progress
// percent and the name of the next download file. No Windows header; the download thread and the
// pages apply these.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// ---- Disk list ("/GetDvrHDD.cgi" reply) ----

inline constexpr size_t kDvrHddReplySize = 33;  // 32-byte disk bit set and a flag byte

struct DvrHddReply {
  std::array<uint8_t, 32> mask{};  // bit n (bit n % 8 of byte n / 8) set for disk n
  uint8_t flag = 0;
};

// False when fewer than kDvrHddReplySize bytes were received.
bool DecodeDvrHddReply(const uint8_t* data, size_t received, DvrHddReply& out);
// The disk numbers whose bit is set, lowest first.
std::vector<int> ListedDisks(const DvrHddReply& reply);
// "MASTER1", "SLAVE1", "MASTER2", "SLAVE2", then "EXT-01" for disk 4 and so on.
std::string DiskName(int disk);

// ---- Request ----

struct BackupRequest {
  std::string cookie;  // sent even when empty
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  int disk = 0;     // the disk's bit number
  int channel = 0;  // 0-based
  int sizeMB = 5;
};

// Limits of the request text and the backup size.
inline constexpr size_t kBackupRequestLimit = 512;
inline constexpr int kBackupSizeMaxMB = 500;

// "/NetworkBk.cgi?Cookie=..&Year=..&Month=..&Day=..&Hour=..&Minute=..&Second=..&Num=..&CH=..&Size=..".
std::string BuildNetworkBackupQuery(const BackupRequest& r);
// The whole request with the device framing and host as the "Host" line; false, with out
// empty, when it would exceed kBackupRequestLimit bytes.
bool BuildNetworkBackupRequest(const BackupRequest& r, std::string_view host, std::string& out);

// ---- Reply chunks ----

struct BackupChunkHeader {
  uint32_t length;
  uint32_t type;
};
static_assert(sizeof(BackupChunkHeader) == 8);

inline constexpr uint32_t kBackupChunkEnd = 1;
inline constexpr uint32_t kBackupChunkData = 3;
inline constexpr uint32_t kBackupChunkAborted = 6;
inline constexpr size_t kBackupChunkDataMax = 2048;

BackupChunkHeader DecodeBackupChunkHeader(const uint8_t (&bytes)[8]);

enum class BackupChunk {
  kData,           // length bytes of data are in the buffer
  kEnd,            // the device has sent everything
  kAborted,        // the device ended the download
  kIgnored,        // a header of another type; nothing follows it
  kReceiveFailed,  // the connection failed, closed or timed out
  kOversize,       // a data chunk longer than kBackupChunkDataMax: nothing of it was read
};

// Receives exactly n bytes into buf; false on a failure, a close or a time-out.
using ReceiveExactly = std::function<bool(uint8_t* buf, size_t n)>;

// Reads the next chunk: its whole 8-byte header, and for a data chunk its whole data into buf.
BackupChunk ReadBackupChunk(const ReceiveExactly& receive,
                            std::array<uint8_t, kBackupChunkDataMax>& buf, uint32_t& length);

// Percent of sizeMB that total bytes make, whole MiB counted, never above 100.
uint8_t BackupPercent(uint64_t total, int sizeMB);

// Size box text: its digits as a number, above kBackupSizeMaxMB made kBackupSizeMaxMB; -1 when
// the text has no digit.
int BackupSizeFromText(std::string_view text);

// ---- Download file name ----

// Room of the file name, terminator included.
inline constexpr size_t kBackupFileNameRoom = 512;

// How a name is known to be taken: any file (or folder) under it, locked or not.
using PathExists = std::function<bool(const std::string& path)>;

// "<folder>\CH<nn>_<mmmm>.dvr" with the first mmmm from 1 to 9999 not taken, else
// "<folder>\CH<nn>_Temp.dvr". Empty when the name would not fit kBackupFileNameRoom.
std::string ChooseBackupFileName(const std::string& folder, int channel, const PathExists& exists);

// "/CancelNB.cgi" is sent on a cancel only to RZ1K/RZ3K/RZ4K from firmware "1043" on.
bool SendsBackupCancel(std::string_view productId, std::string_view firmware);
