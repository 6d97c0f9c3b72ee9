// Faults that tests switch on: each fires on matching requests and changes the reply or the way
// it is delivered.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace devsim {

struct FaultKind {
  std::string_view name;
  std::string_view default_path;                                      // empty: every device path
  std::string_view default_option;                                    // empty: any Option parameter
  std::vector<std::pair<std::string_view, std::string_view>> params;  // name, default
  std::string_view help;
  bool per_frame = false;  // taken for each frame of a live stream, not for requests
};

const std::vector<FaultKind>& FaultKinds();
const FaultKind* FindFaultKind(std::string_view name);

// A fault as it is asked for: its name and parameters (kind parameters and count, skip, every,
// path, option).
struct FaultRequest {
  std::string name;
  std::vector<std::pair<std::string, std::string>> params;
};

// "NAME[,key=value]..." (command line form).
std::optional<FaultRequest> ParseFaultRequest(std::string_view text, std::string* error);

// A fault that fired on a request, with its parameters resolved (defaults filled in).
struct FiredFault {
  std::string name;
  std::map<std::string, std::string, std::less<>> params;
  int64_t Number(std::string_view key) const;
};

class FiredFaults {
 public:
  void Add(FiredFault f) { faults_.push_back(std::move(f)); }
  const FiredFault* Find(std::string_view name) const;
  bool Has(std::string_view name) const { return Find(name) != nullptr; }
  const std::vector<FiredFault>& All() const { return faults_; }

 private:
  std::vector<FiredFault> faults_;
};

class FaultRegistry {
 public:
  // Validates the request; returns the new fault's id, or 0 with *error set.
  int Add(const FaultRequest& wanted, std::string* error);
  // Removes every fault, or those of one name; returns how many.
  size_t Clear(std::string_view name = {});
  // The faults that fire for this request, in the order they were added; counts are used up.
  // Stream faults are left alone.
  FiredFaults Take(std::string_view path, const std::string* option);
  // The stream faults that fire for the next frame of a stream on `path`.
  FiredFaults TakeForFrame(std::string_view path);
  // One line per active fault.
  std::string Describe() const;

 private:
  FiredFaults TakeMatching(std::string_view path, const std::string* option, bool per_frame);

  struct Active {
    int id;
    const FaultKind* kind;
    std::string path;
    std::string option;
    int64_t remaining;  // -1: unlimited
    int64_t skip;
    int64_t every;   // fires on one of every `every` matching requests or frames after the skip
    int64_t passed;  // matching ones seen since the skip
    std::map<std::string, std::string, std::less<>> params;
  };
  mutable std::mutex mu_;
  std::vector<Active> active_;
  int next_id_ = 1;
};

}  // namespace devsim
