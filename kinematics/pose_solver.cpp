// The solver pipeline: jitter filter, channel angles, joints, hips rotation
// from the orientation sensor, legs and support, hips position, contacts
// and counter.
#include "pose_solver.h"

#include "channel_input.h"
#include "joint_rotation.h"
#include "joint_solve.h"
#include "leg_skeleton.h"
#include "suit_packet.h"
#include "support_step.h"
#include "tweak_rotations.h"

#include <cstring>

namespace {

constexpr float MetersToInches = 39.37008f;

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
// slot's support state over the floor.
void MoveOverFloor(SuitSlot& slot, const uint8_t* source, SupportMode mode,
                   const SkeletonFrame& pose)
{
    Vector sensorTravel(0, 0, 0);
    if (mode == SupportMode::PositionSensor)
        sensorTravel = SensorTravel(source, slot.nullRaw);
    PoseFootPoints(SolverSkeleton, pose.channels, ContactPoints);

    SupportState support;
    support.supportIndex = slot.supportIndex;
    std::memcpy(support.previousContacts, slot.previousContacts, sizeof support.previousContacts);
    support.rootOffset = slot.rootOffset;
    StepSupport(ContactPoints, mode, sensorTravel, support);
    slot.supportIndex = support.supportIndex;
    std::memcpy(slot.previousContacts, support.previousContacts, sizeof slot.previousContacts);
    slot.rootOffset = support.rootOffset;
}

void Solve(SuitSlot& slot, const uint8_t* source, SupportMode mode, SkeletonFrame& pose)
{
    const ActorData& actor = slot.actor;
    float channelAngle[RawChannelCount];
    ComputeChannelAngles(source, slot.nullRaw, channelAngle);
    UpdateTweakRotations(SolverTweaks, actor);
    SolveJoints(actor, SolverTweaks, channelAngle, pose);
    // The legs are posed from the frame, so the hips rotation goes in first.
    SolveHipsRotation(source, slot.nullRaw, pose.channels + 3);
    MoveOverFloor(slot, source, mode, pose);

    const float* tweak = actor.tweaks;
    const float* scale = actor.scales;
    pose.channels[0] = (tweak[TweakPositionX] + slot.rootOffset.x) * scale[ScalePositionX];
    pose.channels[1] = (tweak[TweakPositionY] + slot.rootOffset.y) * scale[ScalePositionY];
    pose.channels[2] = (tweak[TweakPositionZ] + slot.rootOffset.z) * scale[ScalePositionZ];
    pose.contacts = 1u << slot.supportIndex;
    uint32_t counter = ReadLittleEndian32(slot.raw + RawCounterOffset) - slot.nullCounter;
    pose.counter = static_cast<int32_t>(counter);
}

} // namespace

void SolvePose(SuitSlot& slot, SkeletonFrame& pose)
{
    if (!slot.nullSet.load())
        CalibrateSuit(slot, pose);
    FilterJitter(slot.raw, slot.previousRaw);
    // raw keeps what the suit sent; the solver reads the usable readings.
    uint8_t source[SuitRawSize];
    std::memcpy(source, slot.raw, SuitRawSize);
    HoldUnusableSensorReadings(source, slot.previousRaw);
    SupportMode mode =
        slot.positionSensorEnabled.load() ? SupportMode::PositionSensor : SupportMode::Legs;
    Solve(slot, source, mode, pose);
}

void CalibrateSuit(SuitSlot& slot, SkeletonFrame& pose)
{
    slot.droppedFrames.store(0);
    std::memcpy(slot.nullRaw, slot.raw, SuitRawSize);
    // A calibration on an unusable reading would spoil every later frame.
    HoldUnusableSensorReadings(slot.nullRaw, slot.previousRaw);
    slot.supportIndex = -1;
    std::memcpy(slot.previousRaw, slot.nullRaw, SuitRawSize);
    slot.nullCounter = ReadLittleEndian32(slot.raw + RawCounterOffset);
    BuildLegSkeleton(SolverSkeleton, slot.actor);
    Solve(slot, slot.nullRaw, SupportMode::Calibration, pose);
    slot.nullSet.store(1);
}
