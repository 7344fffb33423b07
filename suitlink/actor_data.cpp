// A suit's actor. The receive thread solves with SuitSlot.actor under the
// library lock, so copies in and out take the lock too: a solve never sees a
// half-copied record.
#include "actor/actor_limits.h"
#include "actor/default_actor.h"
#include "suitlink/library_state.h"

#include <mutex>

void VarnelSetActorData(VarnelHandle suit, const ActorData* actor)
{
    if (!suit || !actor || !ActorDataIsUsable(*actor))
        return;
    std::lock_guard<RecursiveLock> guard(library.LibraryLock);
    suit->actor = *actor;
}

void VarnelGetActorData(VarnelHandle suit, ActorData* actor)
{
    if (!actor)
        return;
    if (!suit) {
        *actor = DefaultActorData();
        return;
    }
    std::lock_guard<RecursiveLock> guard(library.LibraryLock);
    *actor = suit->actor;
}
