// Reply framing, including the deliberately faulty framings the tests ask for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace devsim {

struct Reply {
  int status = 200;
  std::string body;
  std::string decoded;  // what the request meant, for the log (empty: nothing to say)
};

enum class LengthStyle {
  kNormal,     // "Content-Length: N"
  kLowerCase,  // "content-length: N"
  kNoBlank,    // "Content-Length:N"
  kMissing,    // no length line; the body is still sent
};

// How a reply goes on the wire.  The default is the device's ordinary framing.
struct Delivery {
  LengthStyle length_style = LengthStyle::kNormal;
  std::optional<uint64_t> announced_length;  // length written instead of the body's own
  bool pad_to_announced = false;             // send announced_length bytes (body padded)
  int header_pieces = 1;                     // the head is written in this many pieces
  int piece_delay_ms = 0;                    // pause before each piece after the first
  std::optional<size_t> cut_body_after;      // send this many body bytes, then close
  bool drop = false;                         // close without a reply
  bool reset = false;                        // with drop: abort the connection (RST)
  bool stall = false;                        // wait before replying
  int stall_ms = 0;                          // 0: until the peer closes or devsim stops
};

const char* ReasonPhrase(int status);

// The head of a reply: status line, optional length line, blank line.  A 200 reply, or any reply
// with a body, carries a length line; other replies are the status line alone.
std::string FormatReplyHead(const Reply& reply, const Delivery& delivery);

// The body bytes that are sent: padded for pad_to_announced, cut for cut_body_after.
std::string WireBody(const Reply& reply, const Delivery& delivery);

// Splits text into `pieces` nearly equal, non-empty parts (fewer when the text is shorter).
std::vector<std::string> SplitIntoPieces(std::string_view text, int pieces);

// Adds a filler header line so that the head has at least min_size bytes.
std::string PadReplyHead(std::string head, size_t min_size);

}  // namespace devsim
