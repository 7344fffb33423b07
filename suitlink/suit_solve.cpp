#include "suitlink/suit_solve.h"

#include "kinematics/pose_solver.h"
#include "suitlink/library_state.h"

#include <mutex>

void SolvePose(SuitSlot& slot, SkeletonFrame& pose)
{
    if (!slot.nullSet.load())
        CalibrateSuit(slot, pose);
    bool sensor = slot.positionSensorEnabled.load() != 0;
    SolveFrame(slot.solver, slot.raw, slot.actor,
               sensor ? SupportMode::PositionSensor : SupportMode::Legs, pose);
    ReportRawEvent(slot, sensor ? VarnelRawSolvedWithPositionSensor : VarnelRawSolved);
}

void CalibrateSuit(SuitSlot& slot, SkeletonFrame& pose)
{
    slot.droppedFrames.store(0);
    CalibrateSolver(slot.solver, slot.raw, slot.actor, pose);
    slot.nullSet.store(1);
    ReportRawEvent(slot, VarnelRawCalibration);
}

void ReportRawEvent(const SuitSlot& slot, VarnelRawEvent event, const uint8_t* datagram)
{
    if (library.rawCallback && slot.frameCallback.load())
        library.rawCallback(const_cast<SuitSlot*>(&slot), event, datagram, library.rawContext);
}

void VarnelSetRawCallback(VarnelRawCallback callback, void* context)
{
    std::lock_guard hold(library.LibraryLock);
    library.rawCallback = callback;
    library.rawContext = context;
}
