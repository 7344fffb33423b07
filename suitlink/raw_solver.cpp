// A suit fed by the caller instead of the network: a slot outside the suit
// table, stored and solved through the live path's own steps.
#include "actor/actor_limits.h"
#include "actor/default_actor.h"
#include "suitlink/library_state.h"
#include "suitlink/suit_solve.h"
#include "varnel.h"

#include <cstring>
#include <mutex>
#include <new>

struct VarnelRawSolver {
    SuitSlot slot;
};

VarnelRawSolver* VarnelCreateRawSolver(const ActorData* actor, int positionSensor)
{
    ActorData measurements = actor ? *actor : DefaultActorData();
    if (!ActorDataIsUsable(measurements))
        return nullptr;
    auto* solver = new (std::nothrow) VarnelRawSolver;
    if (!solver)
        return nullptr;
    solver->slot.actor = measurements;
    solver->slot.positionSensorEnabled.store(positionSensor ? 1 : 0);
    return solver;
}

void VarnelFreeRawSolver(VarnelRawSolver* solver)
{
    delete solver;
}

int VarnelRawSolverStore(VarnelRawSolver* solver, const uint8_t* datagram)
{
    if (!solver || !datagram)
        return 0;
    SuitSlot& slot = solver->slot;
    std::lock_guard hold(library.LibraryLock);
    std::memcpy(slot.raw, datagram + PacketRawOffset, SuitRawSize);
    slot.hasData.store(1);
    return 1;
}

int VarnelRawSolverCalibrate(VarnelRawSolver* solver, SkeletonFrame* pose)
{
    if (!solver || !solver->slot.hasData.load())
        return 0;
    SkeletonFrame frame;
    std::lock_guard hold(library.LibraryLock);
    CalibrateSuit(solver->slot, frame);
    if (pose)
        *pose = frame;
    return 1;
}

int VarnelRawSolverSolve(VarnelRawSolver* solver, int positionSensor, SkeletonFrame* pose)
{
    if (!solver || !pose || !solver->slot.hasData.load())
        return 0;
    SuitSlot& slot = solver->slot;
    std::lock_guard hold(library.LibraryLock);
    slot.positionSensorEnabled.store(positionSensor ? 1 : 0);
    SolvePose(slot, *pose);
    return 1;
}
