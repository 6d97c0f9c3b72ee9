#include "tools/firmware_upload.h"

#include <algorithm>

#include "net/device_family.h"

UpgradeMethod SelectUpgradeMethod(std::string_view productId, std::string_view fwVersion) {
  const auto older = [&](std::string_view threshold) {
    return CompareVersionString(threshold, fwVersion) == 2;
  };
  if (IsRZKSeriesProduct(productId))
    return older("1070") ? UpgradeMethod::kFileSetChunked : UpgradeMethod::kFileSetStreamed;
  if (IsRZ2KProduct(productId))
    return older("1013") ? UpgradeMethod::kImageChunked : UpgradeMethod::kImageStreamed;
  if (IsRZMSeriesProduct(productId) || IsRZ8PProduct(productId))
    return UpgradeMethod::kImageChunked;
  return UpgradeMethod::kNone;
}

bool IsStreamedMethod(UpgradeMethod method) {
  return method == UpgradeMethod::kImageStreamed || method == UpgradeMethod::kFileSetStreamed;
}

bool IsFileSetMethod(UpgradeMethod method) {
  return method == UpgradeMethod::kFileSetChunked || method == UpgradeMethod::kFileSetStreamed;
}

uint32_t PieceSizeOf(UpgradeMethod method) {
  return IsStreamedMethod(method) ? kStreamedPieceSize : kChunkedPieceSize;
}

std::string FirmwareVersionLabel(std::string_view fwVersion) {
  std::string label;
  for (size_t i = 0; i < 4; ++i) {
    if (i != 0) label += '.';
    label += i < fwVersion.size() ? fwVersion[i] : ' ';
  }
  return label;
}

uint32_t PieceCount(uint32_t size, uint32_t pieceSize) {
  return size / pieceSize + (size % pieceSize != 0 ? 1 : 0);
}

uint32_t ProgressPercent(uint64_t sent, uint64_t total) {
  if (total == 0) return 0;
  return static_cast<uint32_t>(sent * 100 / total);
}

namespace {

std::string RequestWithHeaders(std::string_view requestLine, std::string_view host) {
  std::string r(requestLine);
  r += "\r\nAccept: */* \r\nAccept-Language: zh-tw\r\nAccept-Encoding: gzip, deflate\r\n"
       "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 1.1.4322)"
       "\r\nHost: ";
  r += host;
  r += "\r\nConnection: Keep-Alive\r\n\r\n";
  return r;
}

}  // namespace

std::string ComposeHoldRequest(std::string_view cookie, std::string_view host) {
  std::string line = "GET /Getvideo.cgi?Cookie=";
  line += cookie;
  line += "&Fake=1 HTTP/1.1";
  return RequestWithHeaders(line, host);
}

std::string ComposeStreamedUploadRequest(std::string_view cookie, uint32_t fileSize, int32_t type,
                                         bool reboot, std::string_view host) {
  std::string line = "GET /UpgradeFW2.cgi?Cookie=";
  line += cookie;
  line += "&FILESIZE=" + std::to_string(fileSize) + "&Type=" + std::to_string(type);
  if (reboot) line += "&REBOOT=1";
  line += " HTTP/1.1";
  return RequestWithHeaders(line, host);
}

CGIParamList ChunkedPieceQuery(const ChunkedPiece& piece, std::string_view cookie) {
  CGIParamList q(kCgiUpgradeFW);
  if (piece.index == 0) {
    q.AddParam("Upgrade", "Start");
    q.AddParamInt("FileSize", static_cast<int32_t>(piece.partSize));
    if (piece.fileSet) q.AddParamInt("Type", piece.row);
  } else if (piece.index + 1 == piece.count) {
    q.AddParam("Upgrade", "Finished");
    if (piece.fileSet)
      q.AddParamInt("Type", piece.row);
    else
      q.AddParam("Type", piece.partName);
    if (piece.lastPart) q.AddParamInt("Reboot", 1);
  }
  if (!cookie.empty()) q.AddParam("Cookie", cookie);
  return q;
}

CGIParamList CancelUpgradeRequest(UpgradeMethod method, std::string_view cookie) {
  if (IsStreamedMethod(method)) {
    CGIParamList q(kCgiCancelUpgrade);
    if (!cookie.empty()) q.AddParam("Cookie", cookie);
    return q;
  }
  CGIParamList q(kCgiUpgradeFW);
  q.AddParam("Upgrade", "Cancel");
  if (!cookie.empty()) q.AddParam("Cookie", cookie);
  return q;
}

CGIParamList GetVersionRequest(std::string_view cookie) {
  CGIParamList q(kCgiGetVersion);
  if (!cookie.empty()) q.AddParam("Cookie", cookie);
  return q;
}

std::vector<UploadPart> FileSetUploadParts(const FileSetTable& table) {
  std::vector<UploadPart> parts;
  for (size_t row = 0; row < table.rows.size(); ++row) {
    const UpgradeFileEntry& e = table.rows[row];
    if (e.loaded == 0) continue;
    parts.push_back({e.data.data(), e.size, static_cast<int32_t>(row), e.name ? e.name : ""});
  }
  return parts;
}

std::vector<UploadPart> ImageUploadParts(const ParsedFirmwareImage& image, bool streamed) {
  std::vector<UploadPart> parts;
  std::string name;
  int32_t number = 0;
  for (const FirmwareRecord& r : image.records) {
    switch (r.byType) {
      case kFirmwareBootRecord:
        name = "BOOT", number = 1;
        break;
      case kFirmwareKernelRecord:
        name = "KERNEL", number = 0;
        break;
      case kFirmwareHtmlRecord:
        name = "HTML", number = 2;
        break;
      default:
        break;
    }
    parts.push_back({r.data.data(), r.dwLength, streamed ? number : 0, streamed ? "" : name});
  }
  return parts;
}

namespace {

class UploadWalk {
 public:
  UploadWalk(const UploadJob& job, UploadTransport& t, UploadObserver& o)
      : m_job(job), m_t(t), m_o(o) {}

  UploadOutcome Run() {
    if (m_o.StopRequested()) return UploadOutcome::kStopped;
    if (!m_t.OpenHold(ComposeHoldRequest(m_job.cookie, m_job.host))) {
      m_t.CloseHold();
      return UploadOutcome::kHoldFailed;
    }
    if (m_job.method == UpgradeMethod::kImageStreamed) m_t.Pause(2000);
    const bool fileSet = IsFileSetMethod(m_job.method);
    if (fileSet) m_o.Busy();
    for (size_t i = 0; i < m_job.parts.size(); ++i) {
      if (!fileSet) m_o.Busy();
      const bool last = i + 1 == m_job.parts.size();
      const UploadOutcome o = IsStreamedMethod(m_job.method) ? Streamed(m_job.parts[i], last)
                                                             : Chunked(m_job.parts[i], last);
      if (o != UploadOutcome::kCompleted) {
        m_t.CloseHold();
        return o;
      }
    }
    if (m_job.method == UpgradeMethod::kImageStreamed) m_t.CloseHold();
    return UploadOutcome::kCompleted;
  }

 private:
  void Advance(uint32_t piece) {
    m_sent += piece;
    m_o.Progress(ProgressPercent(m_sent, m_job.total));
  }

  UploadOutcome Chunked(const UploadPart& part, bool lastPart) {
    const uint32_t count = PieceCount(part.size, kChunkedPieceSize);
    ChunkedPiece piece;
    piece.count = count;
    piece.partSize = part.size;
    piece.fileSet = IsFileSetMethod(m_job.method);
    piece.row = part.type;
    piece.partName = part.name;
    piece.lastPart = lastPart;
    for (uint32_t index = 0; index < count; ++index) {
      if (m_o.StopRequested()) return UploadOutcome::kStopped;
      piece.index = index;
      const uint32_t offset = index * kChunkedPieceSize;
      const uint32_t size = std::min(kChunkedPieceSize, part.size - offset);
      const PieceResult r = m_t.SendChunk(ChunkedPieceQuery(piece, m_job.cookie).GetBuffer(),
                                          part.data + offset, size);
      const bool lastPiece = index + 1 == count;
      // A last piece sent whole but left unanswered is taken as delivered: the device may
      // already be writing its flash.
      if (r != PieceResult::kAccepted && !(lastPiece && r == PieceResult::kUnanswered)) {
        return m_o.StopRequested() ? UploadOutcome::kStopped : UploadOutcome::kPieceFailed;
      }
      Advance(size);
    }
    return UploadOutcome::kCompleted;
  }

  UploadOutcome Streamed(const UploadPart& part, bool lastPart) {
    if (part.size == 0) return UploadOutcome::kCompleted;
    if (m_o.StopRequested()) return UploadOutcome::kStopped;
    const auto failed = [&] {
      return m_o.StopRequested() ? UploadOutcome::kStopped : UploadOutcome::kStreamFailed;
    };
    if (!m_t.OpenStream(
            ComposeStreamedUploadRequest(m_job.cookie, part.size, part.type, lastPart, m_job.host)))
      return failed();
    if (m_job.method == UpgradeMethod::kFileSetStreamed) m_t.Pause(3000);
    for (uint32_t offset = 0; offset < part.size; offset += kStreamedPieceSize) {
      if (m_o.StopRequested()) return UploadOutcome::kStopped;
      const uint32_t size = std::min(kStreamedPieceSize, part.size - offset);
      if (!m_t.SendStreamPiece(part.data + offset, size)) return failed();
      Advance(size);
    }
    const int32_t status = m_t.FinishStream();
    if (status != 0 && status != 200) return UploadOutcome::kStreamFailed;
    return UploadOutcome::kCompleted;
  }

  const UploadJob& m_job;
  UploadTransport& m_t;
  UploadObserver& m_o;
  uint64_t m_sent = 0;
};

}  // namespace

UploadOutcome RunFirmwareUpload(const UploadJob& job, UploadTransport& transport,
                                UploadObserver& observer) {
  return UploadWalk(job, transport, observer).Run();
}
