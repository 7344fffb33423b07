#include "tools/simulator/pose_readings.h"

#include "common/channel_gains.h"
#include "common/units.h"
#include "tools/simulator/rotation_angles.h"

#include <cmath>

namespace {
// The order in which three potentiometers of one joint turn it.
enum class AxisOrder { XYZ, ZYX, ZXY, YXZ };

Matrix Rotation(AxisOrder order, float first, float second, float third)
{
    switch (order) {
    case AxisOrder::XYZ: return Matrix::RotX(first) * Matrix::RotY(second) * Matrix::RotZ(third);
    case AxisOrder::ZYX: return Matrix::RotZ(first) * Matrix::RotY(second) * Matrix::RotX(third);
    case AxisOrder::ZXY: return Matrix::RotZ(first) * Matrix::RotX(second) * Matrix::RotY(third);
    case AxisOrder::YXZ: break;
    }
    return Matrix::RotY(first) * Matrix::RotX(second) * Matrix::RotZ(third);
}

AngleTriple Decompose(AxisOrder order, const Matrix& rotation)
{
    switch (order) {
    case AxisOrder::XYZ: return DecomposeXYZ(rotation);
    case AxisOrder::ZYX: return DecomposeZYX(rotation);
    case AxisOrder::ZXY: return DecomposeZXY(rotation);
    case AxisOrder::YXZ: break;
    }
    return DecomposeYXZ(rotation);
}

// Counts from the rest position, fractional, for an angle.
double CountsFor(int channel, float radians)
{
    // A turn past half a circle is the same turn the other way round.
    double turn = std::remainder(double(radians), 2.0 * Pi);
    return turn / double(ChannelGain[channel]);
}

uint16_t Reading(long countsFromRest)
{
    long counts = RestCount + countsFromRest;
    if (counts < 0)
        counts = 0;
    if (counts > SuitChannelMaximum)
        counts = SuitChannelMaximum;
    return uint16_t(counts);
}

// The angle the library makes of a reading, in the same float arithmetic.
float AngleOf(int channel, uint16_t reading)
{
    return float(int(reading) - int(RestCount)) * ChannelGain[channel];
}

class ReadingWriter {
  public:
    explicit ReadingWriter(SuitReadings& readings) : readings(readings) {}

    void Angle(int channel, float radians)
    {
        readings.channels[channel] = Reading(std::lround(CountsFor(channel, radians)));
    }

    // The angle the library will make of a channel written.
    float AngleRead(int channel) const { return AngleOf(channel, readings.channels[channel]); }

    // Three potentiometers turning one joint in the given order. Rounding
    // each angle on its own can add up to more than a count near gimbal
    // lock, so the neighbouring whole counts of all three are tried together,
    // for both sets of angles that make the rotation (one may lie beyond a
    // potentiometer's travel), and the readings closest to the rotation win.
    void Joint(const Matrix& rotation, AxisOrder order, int first, int second, int third)
    {
        const int channel[3] = {first, second, third};
        AngleTriple angles = Decompose(order, rotation);
        const float halfTurn = float(Pi);
        AngleTriple other = {angles.first + halfTurn, halfTurn - angles.second,
                             angles.third + halfTurn};
        float closest = 4.0f;
        for (const AngleTriple& solution : {angles, other}) {
            const double exact[3] = {CountsFor(first, solution.first),
                                     CountsFor(second, solution.second),
                                     CountsFor(third, solution.third)};
            for (int corner = 0; corner < 8; corner++) {
                uint16_t candidate[3];
                for (int i = 0; i < 3; i++)
                    candidate[i] = Reading(long(std::floor(exact[i])) + ((corner >> i) & 1));
                float distance =
                    RotationDistance(rotation, Rotation(order, AngleOf(first, candidate[0]),
                                                        AngleOf(second, candidate[1]),
                                                        AngleOf(third, candidate[2])));
                if (distance < closest) {
                    closest = distance;
                    for (int i = 0; i < 3; i++)
                        readings.channels[channel[i]] = candidate[i];
                }
            }
        }
    }

  private:
    SuitReadings& readings;
};

Matrix Joint(const SkeletonFrame& pose, int firstChannel)
{
    return JointRotationFromChannels(pose.channels + firstChannel);
}

// The bend of a knee or elbow: the angle of the X rotation closest to the
// joint's rotation. Read from the rotation, not from the X channel, since a
// bend past 90 degrees may be written as X = 180 - bend with Y = Z = 180.
float HingeAngle(const Matrix& rotation)
{
    const auto& m = rotation.m;
    return std::atan2(m[2][1] - m[1][2], m[1][1] + m[2][2]);
}

// A knee or elbow measures only its bend; the rest of its turn goes to the
// ankle or wrist chain below, RotZ * RotY * RotX.
void HingeAndChain(ReadingWriter& write, const SkeletonFrame& pose, int hingeJoint, int chainJoint,
                   int hinge, int chainZ, int chainY, int chainX)
{
    Matrix rotation = Joint(pose, hingeJoint);
    float bend = HingeAngle(rotation);
    write.Angle(hinge, bend);
    write.Joint(Matrix::RotX(-bend) * rotation * Joint(pose, chainJoint), AxisOrder::ZYX, chainZ,
                chainY, chainX);
}

// The orientation sensor: third angle about the vertical, second about the
// lateral axis, first about the front-to-back axis. The position sensor
// reads the hips position in meters.
void SensorReadings(const SkeletonFrame& pose, SuitReadings& readings)
{
    AngleTriple hips = DecomposeZXY(Joint(pose, HipsChannel));
    readings.orientation[0] = hips.third * RadiansToDegrees;
    readings.orientation[1] = hips.second * RadiansToDegrees;
    readings.orientation[2] = hips.first * RadiansToDegrees;
    for (int axis = 0; axis < 3; axis++)
        readings.position[axis] = pose.channels[axis] / MetersToInches;
}

void LegReadings(ReadingWriter& write, const SkeletonFrame& pose)
{
    write.Joint(Joint(pose, LeftHipChannel), AxisOrder::XYZ, 25, 26, 29);
    write.Joint(Joint(pose, RightHipChannel), AxisOrder::XYZ, 23, 24, 27);
    // The ankle chains start with a Y potentiometer (46, 45) that stays at rest.
    HingeAndChain(write, pose, LeftKneeChannel, LeftAnkleChannel, 30, 34, 35, 36);
    HingeAndChain(write, pose, RightKneeChannel, RightAnkleChannel, 28, 31, 32, 33);
}

void ArmReadings(ReadingWriter& write, const SkeletonFrame& pose)
{
    // One pair of potentiometers, 5 (X) and 4 (Y), measures both collars.
    Matrix leftCollar = Joint(pose, LeftCollarChannel);
    AngleTriple collar = DecomposeXYZ(leftCollar);
    write.Angle(5, collar.first);
    write.Angle(4, collar.second);
    // The right shoulder makes up for the collar as the suit will read it.
    Matrix measuredCollar = Matrix::RotX(write.AngleRead(5)) * Matrix::RotY(write.AngleRead(4));
    Matrix leftShoulder = Matrix::RotZ(collar.third) * Joint(pose, LeftShoulderChannel);
    Matrix rightShoulder = measuredCollar.Transpose() * Joint(pose, RightCollarChannel) *
                           Joint(pose, RightShoulderChannel);
    write.Joint(leftShoulder, AxisOrder::XYZ, 9, 8, 12);
    write.Joint(rightShoulder, AxisOrder::XYZ, 7, 6, 10);
    // The wrist chains, too, start with a Y potentiometer (42, 44) at rest.
    HingeAndChain(write, pose, LeftElbowChannel, LeftWristChannel, 13, 17, 18, 19);
    HingeAndChain(write, pose, RightElbowChannel, RightWristChannel, 11, 14, 15, 16);
}
} // namespace

void NullPoseReadings(SuitReadings& readings)
{
    for (uint16_t& channel : readings.channels)
        channel = RestCount;
    for (int axis = 0; axis < 3; axis++) {
        readings.orientation[axis] = 0.0f;
        readings.position[axis] = 0.0f;
    }
}

void ReadingsFromPose(const SkeletonFrame& pose, SuitReadings& readings)
{
    NullPoseReadings(readings);
    SensorReadings(pose, readings);
    ReadingWriter write(readings);
    LegReadings(write, pose);
    write.Joint(Joint(pose, ChestChannel), AxisOrder::YXZ, 22, 21, 20);
    ArmReadings(write, pose);
    // The neck potentiometers (41, 43) stay at rest: the head, measured by
    // 3 (Z), 2 (X) and 1 (Y), carries the neck's turn as well.
    write.Joint(Joint(pose, NeckChannel) * Joint(pose, HeadChannel), AxisOrder::ZXY, 3, 2, 1);
}
