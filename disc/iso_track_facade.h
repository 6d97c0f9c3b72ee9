// ISO-track objects of one interface presented in the other: the current 30-position interface
// over an older engine's track, and the old 20-position interface over a track of the current
// layout.  A facade that owns its inner track destroys it with itself.
#pragma once

#include "disc/engine_records.h"

namespace disc {

EngineIsoTrack* MakeNewIsoTrackFacade(EngineIsoTrack* inner, bool owns);
EngineIsoTrack* MakeOldIsoTrackFacade(EngineIsoTrack* inner, bool owns);
// Destroys a facade (and its inner track when it owns it).
void DestroyIsoTrackFacade(EngineIsoTrack* facade);
// The track a facade presents; null for anything else.
EngineIsoTrack* InnerOfFacade(EngineIsoTrack* track);

}  // namespace disc
