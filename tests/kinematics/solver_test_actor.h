// Actors for the solver's tests: the built-in measurements, and a plain body
// whose scales are 1 so that each reading maps to its own angle.
#pragma once

#include "varnel.h"

#include <algorithm>
#include <iterator>

inline ActorData StandardActor()
{
    ActorData actor = {
        {5, 17.5, 15.5, 3.5, 1.5, 5.5, 5,  17.5, 15.5, 3.5, 1.5, 5.5, 3,
         1, 6.5,  12,   9.5, 7,   6.5, 12, 9.5,  7,    19,  6.5, 7},
        {2.6f, 0, 1.6f, 2.6f, 0, 1.6f, 3, 2, 1, 3, 2, 1, 0, 4, 3},
        {},
        {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1.2f, 1.2f, 1.3f, 1.2f, 1.2f, 1.3f, 1, 1, 1, 1, 1, 1}};
    return actor;
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
