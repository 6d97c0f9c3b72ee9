// The ISO-track facades: which positions reach the inner track, which answer 0 or clear their
// outputs, and who destroys the inner track.
#include "disc/iso_track_facade.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

using namespace disc;

namespace {

// A track whose every position records its number and returns 100 + it.
struct Recorder : EngineIsoTrack {
  std::vector<int>* calls;
};

template <int P>
intptr_t Record(EngineIsoTrack* self, const intptr_t* args) {
  auto* r = static_cast<Recorder*>(self);
  r->calls->push_back(P);
  if (P == 0 && args[0] != 0) delete r;
  return 100 + P;
}

template <int... P>
constexpr std::array<IsoTrackFn, sizeof...(P)> Table(std::integer_sequence<int, P...>) {
  return {Record<P>...};
}
const auto kTable = Table(std::make_integer_sequence<int, kIsoTrackPositions>());

Recorder* MakeRecorder(std::vector<int>* calls) {
  auto* r = new Recorder;
  r->vtbl = kTable.data();
  r->calls = calls;
  return r;
}

}  // namespace

TEST(IsoTrackFacadeTest, NewFacadeOverAnOldTrack) {
  std::vector<int> calls;
  Recorder* inner = MakeRecorder(&calls);
  EngineIsoTrack* f = MakeNewIsoTrackFacade(inner, true);
  EXPECT_EQ(InnerOfFacade(f), inner);
  // Forwarded positions and where they land.
  const int forwarded[][2] = {{1, 1}, {4, 4}, {10, 10}, {11, 11}, {21, 13}, {27, 19}};
  for (const auto& p : forwarded) {
    calls.clear();
    EXPECT_EQ(CallIsoTrack(f, p[0]), 100 + p[1]) << p[0];
    EXPECT_EQ(calls, std::vector<int>{p[1]}) << p[0];
  }
  calls.clear();
  for (int p : {5, 6, 7, 8, 12, 13, 14, 20, 28}) EXPECT_EQ(CallIsoTrack(f, p), 0) << p;
  intptr_t outs[8];
  for (intptr_t& o : outs) o = 7;
  intptr_t args[8];
  for (int i = 0; i < 8; ++i) args[i] = reinterpret_cast<intptr_t>(&outs[i]);
  EXPECT_EQ(CallIsoTrack(f, 9, args), 0);
  EXPECT_EQ(outs[1], 0);
  EXPECT_EQ(outs[2], 7);
  EXPECT_EQ(CallIsoTrack(f, 29, args), 0);
  EXPECT_EQ(outs[7], 0);
  EXPECT_TRUE(calls.empty());
  // Owning: the inner track goes with it (ASan sees a leak otherwise).
  DestroyIsoTrackFacade(f);
  EXPECT_EQ(calls, std::vector<int>{0});
}

TEST(IsoTrackFacadeTest, OldFacadeOverACurrentTrack) {
  std::vector<int> calls;
  Recorder* inner = MakeRecorder(&calls);
  EngineIsoTrack* f = MakeOldIsoTrackFacade(inner, false);
  const int forwarded[][2] = {{2, 2}, {3, 3}, {10, 10}, {13, 21}, {19, 27}};
  for (const auto& p : forwarded) {
    calls.clear();
    EXPECT_EQ(CallIsoTrack(f, p[0]), 100 + p[1]) << p[0];
    EXPECT_EQ(calls, std::vector<int>{p[1]}) << p[0];
  }
  calls.clear();
  for (int p : {5, 6, 7, 8, 12}) EXPECT_EQ(CallIsoTrack(f, p), 0) << p;
  // Not owning: the inner track stays.
  DestroyIsoTrackFacade(f);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(InnerOfFacade(inner), nullptr);
  const intptr_t deleting[8] = {1};
  CallIsoTrack(inner, kIsoTrackDestroy, deleting);

  // A facade over a facade (an old engine's track, given back to it) reaches the inner track.
  Recorder* track = MakeRecorder(&calls);
  EngineIsoTrack* outer = MakeOldIsoTrackFacade(MakeNewIsoTrackFacade(track, true), true);
  calls.clear();
  EXPECT_EQ(CallIsoTrack(outer, kIsoTrackName), 102);
  DestroyIsoTrackFacade(outer);
  EXPECT_EQ(calls, (std::vector<int>{2, 0}));
}
