// Actors for the solver's tests: the built-in measurements, and variants
// that make each reading map to its own angle.
#pragma once

#include "actor/default_actor.h"
#include "varnel.h"

#include <algorithm>
#include <iterator>

inline ActorData StandardActor()
{
    return DefaultActorData();
}

inline ActorData UnitScaleActor()
{
    ActorData actor = StandardActor();
    std::fill(std::begin(actor.scales), std::end(actor.scales), 1.0f);
    return actor;
}

inline ActorData WithoutDisplacements(ActorData actor)
{
    std::fill(std::begin(actor.displacements), std::end(actor.displacements), 0.0f);
    return actor;
}
