// Which actor records the library accepts. A NaN, an infinity or an absurd
// magnitude in one measurement would reach every frame solved with it and
// every take written from them, so such a record is refused whole.
#pragma once

#include "varnel.h"

// Beyond any length in inches, angle in degrees or factor a body may need.
constexpr float MaxActorValue = 1e6f;

bool ActorDataIsUsable(const ActorData& actor);
