#include "devsim/frame_plan.h"

#include <algorithm>

#include "devsim/jpeg_encoder.h"

namespace devsim {

std::string StreamGarbage(int64_t bytes, bool http_head) {
  if (http_head) return "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nConnection: close\r\n\r\n";
  std::string out;
  out.reserve(static_cast<size_t>(bytes));
  for (int64_t i = 0; i < bytes; ++i) out += static_cast<char>((i * 37 + 11) % 255);
  return out;
}

FramePlan PlanFrame(const FrameView& view, const std::string& jpeg, const FiredFaults& faults) {
  FramePlan plan;
  if (const FiredFault* f = faults.Find("stream-stall")) {
    plan.stall = true;
    plan.stall_ms = static_cast<int>(f->Number("ms"));
  }

  std::string picture = jpeg;
  if (faults.Has("stream-app0")) picture = WithJfifSegment(picture);
  if (faults.Has("stream-no-soi") && picture.size() >= 2) {
    picture[0] = 0;
    picture[1] = 0;
  }
  if (const FiredFault* f = faults.Find("stream-oversize")) {
    size_t length = static_cast<size_t>(f->Number("length"));
    if (view.layout == HeaderLayout::kVersioned) {
      // The 16-bit length field cannot say more; the stream stays framed by it.
      size_t own = view.payload_counts_header
                       ? EncodeFrameHeader(view.layout, view.header, 0, false).size()
                       : 0;
      length = std::min(length, 0xFFFF - own);
    }
    if (length > picture.size()) picture.resize(length, '\0');
  }

  FrameHeaderFields fields = view.header;
  if (const FiredFault* f = faults.Find("stream-bad-version")) {
    fields.version = static_cast<uint16_t>(f->Number("version"));
  }
  std::string header =
      EncodeFrameHeader(view.layout, fields, picture.size(), view.payload_counts_header);

  std::string lead;
  if (const FiredFault* f = faults.Find("stream-garbage")) {
    lead = StreamGarbage(f->Number("bytes"), f->Number("http") != 0);
  }
  if (faults.Has("stream-payload-zero")) {
    lead += EncodeFrameHeader(view.layout, view.header, 0, view.payload_counts_header);
  }

  if (const FiredFault* f = faults.Find("stream-split")) {
    size_t at = std::clamp<size_t>(static_cast<size_t>(f->Number("at")), 1, header.size() - 1);
    plan.pieces.push_back({lead + header.substr(0, at), 0});
    plan.pieces.push_back({header.substr(at) + picture, static_cast<int>(f->Number("delay"))});
  } else {
    plan.pieces.push_back({lead + header + picture, 0});
  }

  if (const FiredFault* f = faults.Find("stream-drop")) {
    size_t keep = static_cast<size_t>(f->Number("bytes"));
    std::vector<FramePiece> cut;
    for (auto& piece : plan.pieces) {
      if (keep == 0) break;
      if (piece.bytes.size() > keep) piece.bytes.resize(keep);
      keep -= piece.bytes.size();
      cut.push_back(std::move(piece));
    }
    plan.pieces = std::move(cut);
    plan.close_after = true;
    plan.reset = f->Number("reset") != 0;
  }
  return plan;
}

}  // namespace devsim
