#include "devsim/connection.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "devsim/live_stream.h"
#include "devsim/recordings.h"
#include "devsim/router.h"
#include "devsim/socket_io.h"

namespace devsim {
namespace {

constexpr int kSendTimeoutMs = 30000;

enum class ReadResult { kDone, kClosed, kTimeout, kStopped };

// Reads until `buffer` holds at least `want` bytes.
ReadResult ReadUntil(int fd, std::string& buffer, size_t want, const ConnectionContext& ctx) {
  char chunk[4096];
  while (buffer.size() < want) {
    WaitResult w = WaitFor(fd, POLLIN, ctx.stop_fd, ctx.read_timeout_ms);
    if (w == WaitResult::kStopped) return ReadResult::kStopped;
    if (w == WaitResult::kTimeout) return ReadResult::kTimeout;
    ssize_t n = recv(fd, chunk, sizeof chunk, 0);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) return ReadResult::kClosed;
    buffer.append(chunk, static_cast<size_t>(n));
    return ReadResult::kDone;  // one read per call: the caller re-parses
  }
  return ReadResult::kDone;
}

const char* ReadFailure(ReadResult r) {
  switch (r) {
    case ReadResult::kClosed:
      return "closed by the peer";
    case ReadResult::kTimeout:
      return "timed out";
    default:
      return "devsim stopped";
  }
}

void Deliver(int fd, const Outcome& out, const ConnectionContext& ctx) {
  const Delivery& d = out.delivery;
  if (d.drop) {
    if (d.reset)
      CloseWithReset(fd);
    else
      CloseGracefully(fd, ctx.stop_fd);
    return;
  }
  if (d.stall) {
    // Without a time the reply never comes; with one it comes unless the peer gave up first.
    bool peer_closed = WaitForPeerClose(fd, ctx.stop_fd, d.stall_ms == 0 ? -1 : d.stall_ms);
    if (d.stall_ms == 0 || peer_closed) {
      close(fd);
      return;
    }
  }
  if (out.holds) {
    ctx.device.firmware.HoldOpened();
    WaitForPeerClose(fd, ctx.stop_fd, -1);
    ctx.device.firmware.HoldClosed();
    close(fd);
    return;
  }
  if (out.opens_backup) {
    ServeNetworkBackup(fd, ctx.device.recordings, ctx.stop_fd, out.backup);
    return;
  }
  if (out.opens_stream) {
    ServeLiveStream(fd, ctx.device, ctx.stop_fd, out.stream_session);
    return;
  }
  std::string head = FormatReplyHead(out.reply, d);
  std::string body = WireBody(out.reply, d);
  bool ok = true;
  if (d.header_pieces > 1) {
    head = PadReplyHead(std::move(head), static_cast<size_t>(d.header_pieces));
    auto pieces = SplitIntoPieces(head, d.header_pieces);
    for (size_t i = 0; ok && i < pieces.size(); ++i) {
      if (i > 0) ok = Pause(ctx.stop_fd, d.piece_delay_ms);
      ok = ok && SendAll(fd, pieces[i], ctx.stop_fd, kSendTimeoutMs);
    }
    if (ok && d.piece_delay_ms > 0) ok = Pause(ctx.stop_fd, d.piece_delay_ms);
    ok = ok && SendAll(fd, body, ctx.stop_fd, kSendTimeoutMs);
  } else {
    ok = SendAll(fd, head + body, ctx.stop_fd, kSendTimeoutMs);
  }
  if (!ok) {
    close(fd);
    return;
  }
  CloseGracefully(fd, ctx.stop_fd);
}

void LogFailure(const ConnectionContext& ctx, uint64_t conn_id, const std::string& received,
                const RequestHead* head, std::string_view body, std::optional<int> status,
                std::string error) {
  if (!ctx.log) return;
  LogEntry e;
  e.t_ms = NowMs();
  e.conn = conn_id;
  e.raw_head = head ? received.substr(0, head->head_size) : received;
  e.head = head;
  e.body = body;
  e.status = status;
  e.error = std::move(error);
  ctx.log->Write(e);
}

}  // namespace

void ServeConnection(int fd, uint64_t conn_id, const ConnectionContext& ctx) {
  std::string received;
  HeadParse parse;
  while (true) {
    parse = ParseRequestHead(received);
    if (parse.status != HeadStatus::kIncomplete) break;
    ReadResult r = ReadUntil(fd, received, received.size() + 1, ctx);
    if (r != ReadResult::kDone) {
      if (!received.empty()) {
        LogFailure(ctx, conn_id, received, nullptr, {}, std::nullopt,
                   std::string("request head incomplete: ") + ReadFailure(r));
      }
      close(fd);
      return;
    }
  }
  if (parse.status == HeadStatus::kInvalid) {
    LogFailure(ctx, conn_id, received, nullptr, {}, 400, parse.error);
    Outcome bad;
    bad.reply = {400, parse.error};
    Deliver(fd, bad, ctx);
    return;
  }

  const RequestHead& head = parse.head;
  const std::optional<uint64_t> streamed = StreamedUploadLength(head);
  if (!streamed) {
    LogFailure(ctx, conn_id, received, &head, {}, 400, "FILESIZE missing or too large");
    Outcome bad;
    bad.reply = {400, "FILESIZE missing or too large"};
    Deliver(fd, bad, ctx);
    return;
  }
  size_t body_length = static_cast<size_t>(head.content_length.value_or(*streamed));
  size_t want = head.head_size + body_length;
  while (received.size() < want) {
    ReadResult r = ReadUntil(fd, received, want, ctx);
    if (r != ReadResult::kDone) {
      LogFailure(ctx, conn_id, received, &head, std::string_view(received).substr(head.head_size),
                 std::nullopt, std::string("request body incomplete: ") + ReadFailure(r));
      close(fd);
      return;
    }
  }
  int64_t t_ms = NowMs();
  std::string_view body = std::string_view(received).substr(head.head_size, body_length);

  Outcome out = Route(ctx.device, head, body);
  if (out.logged && ctx.log) {
    LogEntry e;
    e.t_ms = t_ms;
    e.conn = conn_id;
    e.raw_head = received.substr(0, head.head_size);
    e.head = &head;
    e.body = body;
    bool replies = !out.delivery.drop && !(out.delivery.stall && out.delivery.stall_ms == 0) &&
                   !out.opens_stream && !out.holds && !out.opens_backup;
    if (replies) e.status = out.reply.status;
    e.reply_body_length = replies ? out.reply.body.size() : 0;
    e.faults = out.faults;
    e.decoded = out.reply.decoded;
    ctx.log->Write(e);
  }
  Deliver(fd, out, ctx);
}

}  // namespace devsim
