#include "tools/solve/raw_solve.h"

#include <memory>

namespace {
struct SolverDeleter {
    void operator()(VarnelRawSolver* solver) const { VarnelFreeRawSolver(solver); }
};

bool Calibrated(uint32_t flags, uint32_t when)
{
    return (flags & when) != 0;
}

// The record calibrated on with --calibrate-at: the latest received by then,
// else the first.
size_t CalibrationRecord(const RawTake& raw, int64_t at)
{
    size_t chosen = 0;
    for (size_t i = 0; i < raw.records.size() && raw.records[i].time <= at; i++)
        chosen = i;
    return chosen;
}
} // namespace

std::string SolveRawTake(const RawTake& raw, const RawSolveSettings& settings, Skeleton& take)
{
    const ActorData& actor = settings.actor ? *settings.actor : raw.header.actor;
    std::unique_ptr<VarnelRawSolver, SolverDeleter> solver(VarnelCreateRawSolver(&actor, 0));
    if (!solver)
        return settings.actor ? "the actor is not usable" : "the raw take's actor is not usable";
    if (settings.positionSensor && !raw.records.empty() &&
        !(ReadLittleEndian16(raw.records[0].datagram.data() + PacketFlagsOffset) &
          SUIT_HAS_POSITION_SENSOR))
        return "the suit of the raw take has no position sensor";
    VarnelSetFloor(settings.floor ? *settings.floor : raw.header.floor);
    VarnelFreeSkeletonFrames(&take);
    VarnelCopyActorToSkeleton(&take, &actor);
    take.frameTime = 1.0f / raw.header.nominalRate;

    const bool recordedCalibration = !settings.calibrateAt;
    const size_t calibrationRecord =
        recordedCalibration ? 0 : CalibrationRecord(raw, *settings.calibrateAt);
    SkeletonFrame pose;
    // The live path's order for each datagram: stored, perhaps calibrated on,
    // perhaps solved, perhaps calibrated on the readings the solve left.
    for (size_t i = 0; i < raw.records.size(); i++) {
        const RawRecord& record = raw.records[i];
        VarnelRawSolverStore(solver.get(), record.datagram.data());
        if (!recordedCalibration) {
            if (i < calibrationRecord)
                continue;
            if (i == calibrationRecord)
                VarnelRawSolverCalibrate(solver.get(), nullptr);
        } else if (Calibrated(record.flags, RawCalibratedBefore)) {
            VarnelRawSolverCalibrate(solver.get(), nullptr);
        }
        if (record.flags & RawSolved) {
            bool sensor = settings.positionSensor || (record.flags & RawPositionSensor);
            VarnelRawSolverSolve(solver.get(), sensor ? 1 : 0, &pose);
            if (record.flags & RawKept) {
                if (!VarnelAddFrame(&take))
                    return "out of memory for frames";
                take.frames[take.numFrames - 1] = pose;
            }
        }
        if (recordedCalibration && Calibrated(record.flags, RawCalibratedAfter))
            VarnelRawSolverCalibrate(solver.get(), nullptr);
    }
    return "";
}
