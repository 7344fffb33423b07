#include "suitlink/suit_solve.h"

#include "kinematics/pose_solver.h"

void SolvePose(SuitSlot& slot, SkeletonFrame& pose)
{
    if (!slot.nullSet.load())
        CalibrateSuit(slot, pose);
    SupportMode mode =
        slot.positionSensorEnabled.load() ? SupportMode::PositionSensor : SupportMode::Legs;
    SolveFrame(slot.solver, slot.raw, slot.actor, mode, pose);
}

void CalibrateSuit(SuitSlot& slot, SkeletonFrame& pose)
{
    slot.droppedFrames.store(0);
    CalibrateSolver(slot.solver, slot.raw, slot.actor, pose);
    slot.nullSet.store(1);
}
