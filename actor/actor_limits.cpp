#include "actor/actor_limits.h"

#include <cmath>
#include <cstring>

bool ActorDataIsUsable(const ActorData& actor)
{
    float values[sizeof(ActorData) / sizeof(float)];
    std::memcpy(values, &actor, sizeof values);
    for (float value : values) {
        if (!std::isfinite(value) || std::fabs(value) > MaxActorValue)
            return false;
    }
    return true;
}
