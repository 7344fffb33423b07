#include "tools/simulator/walking_gait.h"

#include "common/units.h"
#include "tools/simulator/gait_curve.h"
#include "tools/simulator/rotation_angles.h"

#include <cmath>
#include <cstring>

namespace {
constexpr double EaseInSeconds = 1.2;
constexpr double TurnEaseSeconds = 3.0;
constexpr double TurnDegreesPerSecond = 12.0;
constexpr double ToeOffPhase = 0.6;

// Sagittal angles of one leg from its heel strike (phase 0), in degrees:
// hip flexion (thigh forward), knee flexion, and the pitch of the foot
// against the ground (toes up), from which the ankle follows. The foot
// lands on the heel, stays flat with the heel lowest, rolls onto the ball
// and pushes off from it.
constexpr GaitKey HipFlexionKeys[] = {{0.00, 25}, {0.12, 21}, {0.30, 8},  {0.50, -8},
                                      {0.60, -4}, {0.72, 12}, {0.86, 27}, {0.95, 26}};
constexpr GaitKey KneeFlexionKeys[] = {{0.00, 3},  {0.13, 17}, {0.36, 6},  {0.45, 9}, {0.52, 19},
                                       {0.60, 38}, {0.72, 62}, {0.83, 42}, {0.93, 8}};
constexpr GaitKey FootPitchKeys[] = {{0.00, 22}, {0.08, 5},   {0.14, 1.5}, {0.38, 0.5},
                                     {0.46, -6}, {0.55, -25}, {0.62, -55}, {0.72, -55},
                                     {0.86, 0},  {0.94, 22}};
constexpr GaitCurve HipFlexion(HipFlexionKeys);
constexpr GaitCurve KneeFlexion(KneeFlexionKeys);
constexpr GaitCurve FootPitch(FootPitchKeys);

double SmoothStep(double x)
{
    if (x <= 0.0)
        return 0.0;
    if (x >= 1.0)
        return 1.0;
    return x * x * (3.0 - 2.0 * x);
}

Matrix RotX(double degrees)
{
    return Matrix::RotX(float(degrees * DegreesToRadians));
}
Matrix RotY(double degrees)
{
    return Matrix::RotY(float(degrees * DegreesToRadians));
}
Matrix RotZ(double degrees)
{
    return Matrix::RotZ(float(degrees * DegreesToRadians));
}

void Set(SkeletonFrame& pose, int firstChannel, const Matrix& rotation)
{
    JointChannelsFromRotation(rotation, pose.channels + firstChannel);
}

// The turn of a foot in the world: it keeps the heading it was set down
// with while it stands, and swings round to the next one in the air.
double FootHeading(double seconds, double strikeOffset)
{
    double cycles = seconds / StrideSeconds - strikeOffset;
    double strike = std::floor(cycles);
    double phase = cycles - strike;
    double planted = WalkingHeading((strike + strikeOffset) * StrideSeconds);
    if (phase < ToeOffPhase)
        return planted;
    double next = WalkingHeading((strike + 1.0 + strikeOffset) * StrideSeconds);
    return planted + (next - planted) * SmoothStep((phase - ToeOffPhase) / (1.0 - ToeOffPhase));
}

struct Leg {
    int hipChannel, kneeChannel, ankleChannel;
    double strikeOffset; // in strides
    double inward;       // sign of a turn about Y that brings the foot to the midline
};

constexpr Leg LeftLeg = {LeftHipChannel, LeftKneeChannel, LeftAnkleChannel, 0.0, 1.0};
constexpr Leg RightLeg = {RightHipChannel, RightKneeChannel, RightAnkleChannel, 0.5, -1.0};

void PoseLeg(const Leg& leg, double seconds, double ease, double pelvisHeading, double pelvisRoll,
             SkeletonFrame& pose)
{
    double phase = seconds / StrideSeconds - leg.strikeOffset;
    double twist = (FootHeading(seconds, leg.strikeOffset) - pelvisHeading) * RadiansToDegrees;
    // Feet a little towards the midline, and level however the pelvis rolls.
    double abduction = ease * 4.0 * leg.inward - pelvisRoll;
    Set(pose, leg.hipChannel, RotZ(twist) * RotX(-ease * HipFlexion.At(phase)) * RotY(abduction));
    pose.channels[leg.kneeChannel] = float(ease * KneeFlexion.At(phase));
    double dorsiflexion = FootPitch.At(phase) - HipFlexion.At(phase) + KneeFlexion.At(phase);
    pose.channels[leg.ankleChannel] = float(-ease * dorsiflexion);
}
} // namespace

double WalkingHeading(double seconds)
{
    if (seconds <= 0.0)
        return 0.0;
    // The integral of a turn rate that rises evenly over TurnEaseSeconds.
    double turning = seconds < TurnEaseSeconds ? seconds * seconds / (2.0 * TurnEaseSeconds)
                                               : seconds - TurnEaseSeconds / 2.0;
    return TurnDegreesPerSecond * DegreesToRadians * turning;
}

void WalkingPose(double seconds, SkeletonFrame& pose)
{
    std::memset(pose.channels, 0, sizeof pose.channels);
    double ease = SmoothStep(seconds / EaseInSeconds);
    double cycle = 2.0 * Pi * seconds / StrideSeconds; // 0 at a left heel strike
    // The pelvis turns towards the leg that swings forward and drops on the
    // side of the swinging leg.
    double pelvisYaw = -4.0 * ease * std::cos(cycle);
    double pelvisRoll = -3.0 * ease * std::sin(cycle);
    double heading = WalkingHeading(seconds);
    Set(pose, HipsChannel, RotZ(heading * RadiansToDegrees + pelvisYaw) * RotY(pelvisRoll));

    double pelvisHeading = heading + pelvisYaw * DegreesToRadians;
    PoseLeg(LeftLeg, seconds, ease, pelvisHeading, pelvisRoll, pose);
    PoseLeg(RightLeg, seconds, ease, pelvisHeading, pelvisRoll, pose);

    // The chest leans in a little and turns against the pelvis; the head
    // looks where the walk goes.
    double chestYaw = 6.0 * ease * std::cos(cycle);
    Set(pose, ChestChannel, RotY(-pelvisRoll) * RotX(3.0 * ease) * RotZ(chestYaw));
    Set(pose, HeadChannel, RotZ(-(pelvisYaw + chestYaw)) * RotX(-3.0 * ease));

    // The arms swing against the legs, the elbows bending more forward.
    double leftSwing = std::cos(cycle); // +1: left arm back
    Set(pose, LeftShoulderChannel, RotX(16.0 * ease * leftSwing) * RotY(-5.0 * ease));
    Set(pose, RightShoulderChannel, RotX(-16.0 * ease * leftSwing) * RotY(5.0 * ease));
    pose.channels[LeftElbowChannel] = float(-ease * (15.0 + 6.0 * (1.0 - leftSwing)));
    pose.channels[RightElbowChannel] = float(-ease * (15.0 + 6.0 * (1.0 + leftSwing)));
}
