#include "disc/iso_track_facade.h"

#include <utility>

namespace disc {

namespace {

struct Facade : EngineIsoTrack {
  EngineIsoTrack* inner;
  bool owns;
};

Facade* AsFacade(EngineIsoTrack* t) {
  return static_cast<Facade*>(t);
}

intptr_t Destroy(EngineIsoTrack* self, const intptr_t* args) {
  Facade* f = AsFacade(self);
  if (f->owns && f->inner != nullptr) {
    const intptr_t deleting[8] = {1};
    CallIsoTrack(f->inner, kIsoTrackDestroy, deleting);
  }
  if (args[0] != 0) delete f;
  return 0;
}

template <int To>
intptr_t Forward(EngineIsoTrack* self, const intptr_t* args) {
  return CallIsoTrack(AsFacade(self)->inner, To, args);
}

intptr_t Zero(EngineIsoTrack*, const intptr_t*) {
  return 0;
}

// Clears the outputs the first N arguments point to.
template <int N>
intptr_t ClearOutputs(EngineIsoTrack*, const intptr_t* args) {
  for (int i = 0; i < N; ++i) {
    if (auto* out = reinterpret_cast<intptr_t*>(args[i])) *out = 0;
  }
  return 0;
}

const IsoTrackFn kNewTable[kIsoTrackPositions] = {
    Destroy,     Forward<1>,  Forward<2>,  Forward<3>,  Forward<4>,
    Zero,        Zero,        Zero,        Zero,        ClearOutputs<2>,
    Forward<10>, Forward<11>, Zero,        Zero,        Zero,
    Zero,        Zero,        Zero,        Zero,        Zero,
    Zero,        Forward<13>, Forward<14>, Forward<15>, Forward<16>,
    Forward<17>, Forward<18>, Forward<19>, Zero,        ClearOutputs<8>,
};

const IsoTrackFn kOldTable[kOldIsoTrackPositions] = {
    Destroy,     Forward<1>,  Forward<2>,      Forward<3>,  Forward<4>,  Zero,        Zero,
    Zero,        Zero,        ClearOutputs<2>, Forward<10>, Forward<11>, Zero,        Forward<21>,
    Forward<22>, Forward<23>, Forward<24>,     Forward<25>, Forward<26>, Forward<27>,
};

EngineIsoTrack* Make(const IsoTrackFn* table, EngineIsoTrack* inner, bool owns) {
  auto* f = new Facade;
  f->vtbl = table;
  f->inner = inner;
  f->owns = owns;
  return f;
}

}  // namespace

EngineIsoTrack* MakeNewIsoTrackFacade(EngineIsoTrack* inner, bool owns) {
  return Make(kNewTable, inner, owns);
}

EngineIsoTrack* MakeOldIsoTrackFacade(EngineIsoTrack* inner, bool owns) {
  return Make(kOldTable, inner, owns);
}

void DestroyIsoTrackFacade(EngineIsoTrack* facade) {
  const intptr_t deleting[8] = {1};
  CallIsoTrack(facade, kIsoTrackDestroy, deleting);
}

EngineIsoTrack* InnerOfFacade(EngineIsoTrack* track) {
  if (track == nullptr || (track->vtbl != kNewTable && track->vtbl != kOldTable)) return nullptr;
  return AsFacade(track)->inner;
}

}  // namespace disc
