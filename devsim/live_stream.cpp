#include "devsim/live_stream.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <optional>

#include "devsim/cgi_paths.h"
#include "devsim/frame_plan.h"
#include "devsim/frame_view.h"
#include "devsim/socket_io.h"

namespace devsim {
namespace {

constexpr int kSendTimeoutMs = 30000;

enum class Gap { kGoOn, kPeerGone, kStopped };

// Waits until `until` (without limit when unset), reading and dropping what the peer sends.
Gap WaitWatching(int fd, int stop_fd, std::optional<SteadyTime> until) {
  char buf[1024];
  while (true) {
    int timeout = -1;
    if (until) {
      auto left = std::chrono::ceil<std::chrono::milliseconds>(*until - SteadyTime::clock::now());
      if (left.count() <= 0) return Gap::kGoOn;
      timeout = static_cast<int>(left.count());
    }
    pollfd fds[2] = {{fd, POLLIN, 0}, {stop_fd, POLLIN, 0}};
    int n = poll(fds, 2, timeout);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Gap::kPeerGone;
    }
    if (fds[1].revents != 0) return Gap::kStopped;
    if (fds[0].revents != 0) {
      ssize_t r = recv(fd, buf, sizeof buf, MSG_DONTWAIT);
      if (r == 0 || (r < 0 && errno != EINTR && errno != EAGAIN)) return Gap::kPeerGone;
    }
  }
}

// Whether the peer is gone or devsim stops, without waiting.
Gap Glance(int fd, int stop_fd) {
  pollfd fds[2] = {{fd, POLLIN, 0}, {stop_fd, POLLIN, 0}};
  if (poll(fds, 2, 0) <= 0) return Gap::kGoOn;
  if (fds[1].revents != 0) return Gap::kStopped;
  char buf[1024];
  const ssize_t r = recv(fd, buf, sizeof buf, MSG_DONTWAIT);
  return r == 0 || (r < 0 && errno != EINTR && errno != EAGAIN) ? Gap::kPeerGone : Gap::kGoOn;
}

std::optional<SteadyTime> After(int ms) {
  return SteadyTime::clock::now() + std::chrono::milliseconds(ms);
}

// The session's current choices; when the session is gone (logged out) the last ones stay.
// Call with device.mu held.
void RefreshChoices(Device& device, const std::string& session_id, StreamChoices& choices) {
  if (session_id.empty()) return;
  const Session* s = device.sessions.Find(session_id);
  if (!s) return;
  choices.has_session = true;
  choices.res = s->res;
  choices.qua = s->qua;
  choices.ch = s->ch;
  choices.new_header = s->new_header;
}

SteadyTime NextTickTime(const LiveScene& scene, const FrameView& view) {
  int64_t us = (static_cast<int64_t>(view.moment.tick + 1) * 1000000 + view.fps - 1) / view.fps;
  return scene.start + std::chrono::microseconds(us);
}

struct OpenStreamCount {
  explicit OpenStreamCount(LiveScene& s) : scene(s) { ++scene.open_streams; }
  ~OpenStreamCount() { --scene.open_streams; }
  LiveScene& scene;
};

// Sends the plan's pieces; false when the stream must end.
bool SendPlan(int fd, int stop_fd, const FramePlan& plan) {
  for (const auto& piece : plan.pieces) {
    if (piece.pause_before_ms > 0 &&
        WaitWatching(fd, stop_fd, After(piece.pause_before_ms)) != Gap::kGoOn) {
      return false;
    }
    if (!SendAll(fd, piece.bytes, stop_fd, kSendTimeoutMs)) return false;
  }
  return true;
}

}  // namespace

void ServeLiveStream(int fd, Device& device, int stop_fd, const std::string& session_id) {
  LiveScene& scene = device.scene;
  OpenStreamCount counted(scene);
  StreamChoices choices;
  std::optional<uint64_t> last_tick;
  while (true) {
    FrameView view;
    {
      std::lock_guard lock(device.mu);
      RefreshChoices(device, session_id, choices);
      view = ResolveFrameView(device.profile, choices, scene, SteadyTime::clock::now());
    }
    if (view.paced && last_tick && view.moment.tick == *last_tick) {
      if (WaitWatching(fd, stop_fd, NextTickTime(scene, view)) != Gap::kGoOn) break;
      continue;
    }
    last_tick = view.moment.tick;

    FiredFaults faults = device.faults.TakeForFrame(kVideoPath);
    std::string error;
    auto jpeg = scene.pictures.Get(view.picture, view.moment, &error);
    if (!jpeg) {
      std::cerr << "devsim: stream picture: " << error << std::endl;
      break;
    }
    FramePlan plan = PlanFrame(view, *jpeg, faults);
    if (plan.stall &&
        WaitWatching(fd, stop_fd, plan.stall_ms == 0 ? std::nullopt : After(plan.stall_ms)) !=
            Gap::kGoOn) {
      break;
    }
    if (!SendPlan(fd, stop_fd, plan)) break;
    if (plan.close_after) {
      if (plan.reset) {
        CloseWithReset(fd);
      } else {
        shutdown(fd, SHUT_WR);
        close(fd);
      }
      return;
    }
    ++scene.frames_sent;
    const Gap gap =
        view.paced ? WaitWatching(fd, stop_fd, NextTickTime(scene, view)) : Glance(fd, stop_fd);
    if (gap != Gap::kGoOn) break;
  }
  close(fd);
}

}  // namespace devsim
