// The solver pipeline: jitter filter, channel angles, joints, hips rotation
// from the orientation sensor, legs and support, hips position, contacts
// and counter.
#include "kinematics/pose_solver.h"

#include "common/suit_datagram.h"
#include "common/units.h"
#include "kinematics/channel_input.h"
#include "kinematics/joint_rotation.h"
#include "kinematics/joint_solve.h"
#include "kinematics/leg_skeleton.h"
#include "kinematics/support_step.h"
#include "kinematics/tweak_rotations.h"

#include <cstring>

namespace {

// The legs of the suit calibrated last; a new actor reaches them only at a
// calibration, so that a suit's foot points never jump between two frames.
LegSkeleton SolverSkeleton;
Vector ContactPoints[FootPointCount];
TweakRotations SolverTweaks;

Vector ReadVector(const uint8_t* block, size_t offset)
{
    return Vector(ReadLittleEndianFloat(block + offset), ReadLittleEndianFloat(block + offset + 4),
                  ReadLittleEndianFloat(block + offset + 8));
}

// The orientation sensor turns the body: third angle about the vertical,
// second about the lateral, first about the front-to-back axis.
void SolveHipsRotation(const uint8_t* source, const uint8_t* nullRaw, float* hipsChannels)
{
    Vector now = ReadVector(source, RawOrientationOffset);
    Vector zero = ReadVector(nullRaw, RawOrientationOffset);
    float frontToBack = (now.x - zero.x) * DegreesToRadians;
    float lateral = (now.y - zero.y) * DegreesToRadians;
    float vertical = (now.z - zero.z) * DegreesToRadians;
    WriteJointRotation(SolverTweaks.Of(TweakHipsX) * Matrix::RotZXY(vertical, lateral, frontToBack),
                       hipsChannels);
}

Vector SensorTravel(const uint8_t* source, const uint8_t* nullRaw)
{
    Vector now = ReadVector(source, RawPositionOffset);
    Vector zero = ReadVector(nullRaw, RawPositionOffset);
    return Vector((now.x - zero.x) * MetersToInches, (now.y - zero.y) * MetersToInches,
                  (now.z - zero.z) * MetersToInches);
}

// Poses the legs from the frame's hips and leg channels and moves the
// support state over the floor.
void MoveOverFloor(SolverState& state, const uint8_t* source, SupportMode mode,
                   const SkeletonFrame& pose)
{
    Vector sensorTravel(0, 0, 0);
    if (mode == SupportMode::PositionSensor)
        sensorTravel = SensorTravel(source, state.nullRaw);
    PoseFootPoints(SolverSkeleton, pose.channels, ContactPoints);
    StepSupport(ContactPoints, mode, sensorTravel, state.support);
}

void Solve(SolverState& state, const uint8_t* source, const ActorData& actor, SupportMode mode,
           SkeletonFrame& pose)
{
    float channelAngle[RawChannelCount];
    ComputeChannelAngles(source, state.nullRaw, channelAngle);
    UpdateTweakRotations(SolverTweaks, actor);
    SolveJoints(actor, SolverTweaks, channelAngle, pose);
    // The legs are posed from the frame, so the hips rotation goes in first.
    SolveHipsRotation(source, state.nullRaw, pose.channels + HipsChannel);
    MoveOverFloor(state, source, mode, pose);

    const float* tweak = actor.tweaks;
    const float* scale = actor.scales;
    const Vector& root = state.support.rootOffset;
    float* hips = pose.channels + HipsPositionChannel;
    hips[0] = (tweak[TweakPositionX] + root.x) * scale[ScalePositionX];
    hips[1] = (tweak[TweakPositionY] + root.y) * scale[ScalePositionY];
    hips[2] = (tweak[TweakPositionZ] + root.z) * scale[ScalePositionZ];
    pose.contacts = 1u << state.support.supportIndex;
    uint32_t counter = ReadLittleEndian32(source + RawCounterOffset) - state.nullCounter;
    pose.counter = static_cast<int32_t>(counter);
}

} // namespace

void SolveFrame(SolverState& state, uint8_t raw[SuitRawSize], const ActorData& actor,
                SupportMode mode, SkeletonFrame& pose)
{
    FilterJitter(raw, state.previousRaw);
    // raw keeps what the suit sent; the solver reads the usable readings.
    uint8_t source[SuitRawSize];
    std::memcpy(source, raw, SuitRawSize);
    HoldUnusableSensorReadings(source, state.previousRaw);
    Solve(state, source, actor, mode, pose);
}

void CalibrateSolver(SolverState& state, const uint8_t raw[SuitRawSize], const ActorData& actor,
                     SkeletonFrame& pose)
{
    std::memcpy(state.nullRaw, raw, SuitRawSize);
    // A calibration on an unusable reading would spoil every later frame.
    HoldUnusableSensorReadings(state.nullRaw, state.previousRaw);
    state.support.supportIndex = -1;
    std::memcpy(state.previousRaw, state.nullRaw, SuitRawSize);
    state.nullCounter = ReadLittleEndian32(raw + RawCounterOffset);
    BuildLegSkeleton(SolverSkeleton, actor);
    Solve(state, state.nullRaw, actor, SupportMode::Calibration, pose);
}
