#include "devsim/fault_registry.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "devsim/cgi_paths.h"

namespace devsim {
namespace {

constexpr std::string_view kAnyPath = "*";

std::optional<int64_t> ParseCount(std::string_view s) {
  if (s.empty() || s.size() > 12) return std::nullopt;
  bool negative = s.front() == '-';
  if (negative) s.remove_prefix(1);
  if (s.empty()) return std::nullopt;
  int64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return negative ? -v : v;
}

bool IsTextParam(std::string_view key) {
  return key == "id";
}

// Bounds of the numeric kind parameters: statuses are three digits, everything else (lengths,
// pieces, milliseconds) stays below 16 MiB.
std::pair<int64_t, int64_t> ParamRange(std::string_view key) {
  if (key == "code" || key == "status") return {100, 999};
  return {0, 16 * 1024 * 1024};
}

}  // namespace

const std::vector<FaultKind>& FaultKinds() {
  static const std::vector<FaultKind> kKinds = {
      {"login-denied",
       "/Login.cgi",
       "",
       {{"status", "401"}},
       "reply `status` with no body, whatever the credentials"},
      {"login-busy",
       "/Login.cgi",
       "",
       {},
       "reply \"HTTP/1.1 202 Accepted\" (too many users) with no body"},
      {"login-no-session", "/Login.cgi", "", {}, "200 reply without the Session-ID item"},
      {"bad-product", "/Login.cgi", "", {{"id", "ABCD"}}, "login reply with Product-ID=`id`"},
      {"devinfo-empty", "/Getdeviceinfo.cgi", "", {}, "200 reply with an empty body"},
      {"status", "", "", {{"code", "500"}}, "reply status `code` with no body"},
      {"long-block",
       "/GetSysCfg.cgi",
       "SYSTEM",
       {{"extra", "4"}},
       "block reply `extra` bytes longer than the block (SYSTEM: 40 bytes)"},
      {"short-all",
       "/GetSysCfg.cgi",
       "ALL",
       {{"length", "1000"}},
       "complete reply of only the first `length` bytes (option=NAME: of that block)"},
      {"trickle",
       "",
       "",
       {{"pieces", "10"}, {"delay", "20"}},
       "reply head written in `pieces` pieces, `delay` ms apart (padded when short)"},
      {"cut-body",
       "",
       "",
       {{"bytes", "0"}},
       "full Content-Length, then only `bytes` body bytes, then close"},
      {"lowercase-length", "", "", {}, "length line written \"content-length: N\""},
      {"no-length", "", "", {}, "no length line; the body is still sent"},
      {"tight-length", "", "", {}, "length line written \"Content-Length:N\" (no blank)"},
      {"oversize",
       "",
       "",
       {{"length", "8192"}, {"pad", "0"}},
       "Content-Length `length`; the body as it is, or (pad=1) padded to `length` bytes"},
      {"stall",
       "",
       "",
       {{"ms", "0"}},
       "read the request, then wait `ms` ms before replying (0: never reply, until the peer "
       "closes)"},
      {"drop",
       "",
       "",
       {{"reset", "0"}},
       "read the request, then close without a reply (reset=1: abort with RST)"},
      {"stream-garbage",
       kVideoPath,
       "",
       {{"bytes", "64"}, {"http", "0"}},
       "before the frame: `bytes` filler bytes without FF, or (http=1) an HTTP reply head",
       true},
      {"stream-no-soi",
       kVideoPath,
       "",
       {},
       "the picture starts 00 00 instead of FF D8 (length unchanged)",
       true},
      {"stream-payload-zero",
       kVideoPath,
       "",
       {},
       "a header with payload length 0 and nothing after it, just before the frame's header",
       true},
      {"stream-app0",
       kVideoPath,
       "",
       {},
       "the picture starts FF D8 FF E0 (a JFIF segment before the tables)",
       true},
      {"stream-split",
       kVideoPath,
       "",
       {{"at", "4"}, {"delay", "100"}},
       "the header in two sends: its first `at` bytes, a pause of `delay` ms, the rest",
       true},
      {"stream-oversize",
       kVideoPath,
       "",
       {{"length", "150000"}},
       "the picture padded with zero bytes to `length` bytes (layout 1: to at most what its "
       "16-bit length field can say)",
       true},
      {"stream-bad-version",
       kVideoPath,
       "",
       {{"version", "2"}},
       "layout-1 header with this version word",
       true},
      {"stream-stall",
       kVideoPath,
       "",
       {{"ms", "0"}},
       "send nothing for `ms` ms, then the frame (0: never, until the peer closes)",
       true},
      {"stream-drop",
       kVideoPath,
       "",
       {{"bytes", "0"}, {"reset", "0"}},
       "send the frame's first `bytes` bytes, then close the stream (reset=1: RST)",
       true},
  };
  return kKinds;
}

const FaultKind* FindFaultKind(std::string_view name) {
  for (const auto& k : FaultKinds()) {
    if (k.name == name) return &k;
  }
  return nullptr;
}

std::optional<FaultRequest> ParseFaultRequest(std::string_view text, std::string* error) {
  FaultRequest wanted;
  size_t start = 0;
  bool first = true;
  while (true) {
    size_t comma = text.find(',', start);
    std::string_view item =
        text.substr(start, comma == std::string_view::npos ? comma : comma - start);
    if (first) {
      wanted.name = std::string(item);
      first = false;
    } else {
      size_t eq = item.find('=');
      if (eq == std::string_view::npos) {
        *error = "fault parameter without '=': " + std::string(item);
        return std::nullopt;
      }
      wanted.params.emplace_back(std::string(item.substr(0, eq)), std::string(item.substr(eq + 1)));
    }
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return wanted;
}

int64_t FiredFault::Number(std::string_view key) const {
  auto it = params.find(key);
  if (it == params.end()) return 0;
  return ParseCount(it->second).value_or(0);
}

const FiredFault* FiredFaults::Find(std::string_view name) const {
  for (const auto& f : faults_) {
    if (f.name == name) return &f;
  }
  return nullptr;
}

int FaultRegistry::Add(const FaultRequest& wanted, std::string* error) {
  const FaultKind* kind = FindFaultKind(wanted.name);
  if (!kind) {
    *error = "unknown fault " + wanted.name;
    return 0;
  }
  Active a{0, kind, std::string(kind->default_path), std::string(kind->default_option), -1, 0, 1,
           0, {}};
  for (const auto& [k, v] : kind->params) a.params[std::string(k)] = std::string(v);
  for (const auto& [k, v] : wanted.params) {
    if (k == "path") {
      a.path = v == kAnyPath ? std::string() : v;
    } else if (k == "option") {
      a.option = v == kAnyPath ? std::string() : v;
    } else if (k == "count" || k == "skip") {
      auto n = ParseCount(v);
      if (!n || *n < (k == "count" ? -1 : 0) || (k == "count" && *n == 0)) {
        *error = k + ": expected " + (k == "count" ? "a number above 0, or -1" : "a number >= 0");
        return 0;
      }
      (k == "count" ? a.remaining : a.skip) = *n;
    } else if (k == "every") {
      auto n = ParseCount(v);
      if (!n || *n < 1) {
        *error = "every: expected a number above 0";
        return 0;
      }
      a.every = *n;
    } else if (a.params.count(k) != 0) {
      if (!IsTextParam(k)) {
        auto [lo, hi] = ParamRange(k);
        auto n = ParseCount(v);
        if (!n || *n < lo || *n > hi) {
          *error = wanted.name + ": " + k + " expects a number from " + std::to_string(lo) +
                   " to " + std::to_string(hi);
          return 0;
        }
      }
      a.params[k] = v;
    } else {
      *error = wanted.name + ": unknown parameter " + k;
      return 0;
    }
  }
  std::lock_guard lock(mu_);
  a.id = next_id_++;
  active_.push_back(std::move(a));
  return active_.back().id;
}

size_t FaultRegistry::Clear(std::string_view name) {
  std::lock_guard lock(mu_);
  size_t before = active_.size();
  if (name.empty()) {
    active_.clear();
  } else {
    std::erase_if(active_, [&](const Active& a) { return a.kind->name == name; });
  }
  return before - active_.size();
}

FiredFaults FaultRegistry::Take(std::string_view path, const std::string* option) {
  return TakeMatching(path, option, false);
}

FiredFaults FaultRegistry::TakeForFrame(std::string_view path) {
  return TakeMatching(path, nullptr, true);
}

FiredFaults FaultRegistry::TakeMatching(std::string_view path, const std::string* option,
                                        bool per_frame) {
  std::lock_guard lock(mu_);
  FiredFaults fired;
  for (auto it = active_.begin(); it != active_.end();) {
    bool matches = it->kind->per_frame == per_frame && (it->path.empty() || it->path == path) &&
                   (it->option.empty() || (option && *option == it->option));
    if (!matches) {
      ++it;
      continue;
    }
    if (it->skip > 0) {
      --it->skip;
      ++it;
      continue;
    }
    if (it->passed++ % it->every != 0) {
      ++it;
      continue;
    }
    fired.Add({std::string(it->kind->name), it->params});
    if (it->remaining > 0 && --it->remaining == 0) {
      it = active_.erase(it);
    } else {
      ++it;
    }
  }
  return fired;
}

std::string FaultRegistry::Describe() const {
  std::lock_guard lock(mu_);
  std::string out;
  for (const auto& a : active_) {
    out += std::to_string(a.id) + " " + std::string(a.kind->name);
    out += " path=" + (a.path.empty() ? std::string(kAnyPath) : a.path);
    if (!a.option.empty()) out += " option=" + a.option;
    out += " count=" + std::to_string(a.remaining) + " skip=" + std::to_string(a.skip);
    if (a.every > 1) out += " every=" + std::to_string(a.every);
    for (const auto& [k, v] : a.params) out += " " + k + "=" + v;
    out += "\n";
  }
  return out;
}

}  // namespace devsim
