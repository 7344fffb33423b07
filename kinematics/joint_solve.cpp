// Joint rotations from potentiometer angles. Every product is evaluated left
// to right in float, in the order the suit's mechanics dictate.
#include "kinematics/joint_solve.h"

#include "kinematics/joint_rotation.h"

#include <cmath>

namespace {

Matrix RotX(float a)
{
    return Matrix::RotX(a);
}
Matrix RotY(float a)
{
    return Matrix::RotY(a);
}
Matrix RotZ(float a)
{
    return Matrix::RotZ(a);
}

// The four potentiometers between forearm (or shin) and hand (or foot).
Matrix DistalChain(float firstY, float twistZ, float secondY, float bendX)
{
    return RotY(firstY) * RotZ(twistZ) * RotY(secondY) * RotX(bendX);
}

// The potentiometer assembly sits off the joint by (dx, dy, dz); turning the
// chain moves it along the bone, which the middle joint must absorb.
float DisplacementCorrection(const Matrix& chain, const float* displacement, float side,
                             float boneLength)
{
    float dx = side * displacement[0], dy = displacement[1], dz = displacement[2];
    float along = chain.m[1][0] * dx + chain.m[1][1] * dy + chain.m[1][2] * dz;
    return std::asin(ClampUnit((along - dy) / boneLength));
}

struct NeckBend {
    float x, y;
};

NeckBend SolveNeck(const ActorData& actor, const float* a)
{
    const float* d = actor.displacements + DisplacementPotToNeckX;
    float dx = d[0], dy = d[1], dz = d[2];
    float neck = actor.bones[BoneNeck];
    Vector w = RotY(-a[41]) * RotX(-a[43]) * Vector(dx, -dy, dz);
    float s = ClampUnit((w.y + dy) / neck);
    NeckBend angles;
    angles.x = std::asin(s);
    float c = std::sqrt(1.0f - s * s);
    angles.y = c == 0.0f ? 0.0f : std::asin(ClampUnit((dx - w.x) / (c * neck)));
    return angles;
}

} // namespace

void SolveJoints(const ActorData& actor, const TweakRotations& tweaks,
                 const float channelAngle[RawChannelCount], SkeletonFrame& pose)
{
    const float* a = channelAngle;
    const float* scale = actor.scales;
    const float* bone = actor.bones;
    const float* displacement = actor.displacements;
    float* channels = pose.channels;

    Matrix leftAnkleChain = DistalChain(a[46], a[34], a[35], scale[ScaleLeftAnkleX] * a[36]);
    Matrix rightAnkleChain = DistalChain(a[45], a[31], a[32], scale[ScaleRightAnkleX] * a[33]);
    Matrix leftWristChain = DistalChain(a[42], a[17], a[18], a[19]);
    Matrix rightWristChain = DistalChain(a[44], a[14], a[15], a[16]);

    float leftAnkleCorrection = DisplacementCorrection(
        leftAnkleChain, displacement + DisplacementPotToLeftAnkleX, -1.0f, bone[BoneLeftLowerLeg]);
    float rightAnkleCorrection =
        DisplacementCorrection(rightAnkleChain, displacement + DisplacementPotToRightAnkleX, 1.0f,
                               bone[BoneRightLowerLeg]);
    float leftWristCorrection = DisplacementCorrection(
        leftWristChain, displacement + DisplacementPotToLeftWristX, -1.0f, bone[BoneLeftForearm]);
    float rightWristCorrection = DisplacementCorrection(
        rightWristChain, displacement + DisplacementPotToRightWristX, 1.0f, bone[BoneRightForearm]);

    WriteJointRotation(tweaks.Of(TweakLeftHipX) * RotX(scale[ScaleLeftHipX] * a[25]) *
                           RotY(scale[ScaleLeftHipY] * a[26]) * RotZ(scale[ScaleLeftHipZ] * a[29]),
                       channels + LeftHipChannel);
    WriteJointRotation(tweaks.Of(TweakLeftKneeX) *
                           RotX((leftAnkleCorrection + a[30]) * scale[ScaleLeftKneeX]),
                       channels + LeftKneeChannel);
    WriteJointRotation(tweaks.Of(TweakLeftAnkleX) * RotX(-leftAnkleCorrection) * leftAnkleChain,
                       channels + LeftAnkleChannel);

    WriteJointRotation(tweaks.Of(TweakRightHipX) * RotX(scale[ScaleRightHipX] * a[23]) *
                           RotY(scale[ScaleRightHipY] * a[24]) *
                           RotZ(scale[ScaleRightHipZ] * a[27]),
                       channels + RightHipChannel);
    WriteJointRotation(tweaks.Of(TweakRightKneeX) *
                           RotX((rightAnkleCorrection + a[28]) * scale[ScaleRightKneeX]),
                       channels + RightKneeChannel);
    WriteJointRotation(tweaks.Of(TweakRightAnkleX) * RotX(-rightAnkleCorrection) * rightAnkleChain,
                       channels + RightAnkleChannel);

    WriteJointRotation(tweaks.Of(TweakLeftShoulderX) * RotX(scale[ScaleLeftShoulderX] * a[9]) *
                           RotY(scale[ScaleLeftShoulderY] * a[8]) *
                           RotZ(scale[ScaleLeftShoulderZ] * a[12]),
                       channels + LeftShoulderChannel);
    WriteJointRotation(tweaks.Of(TweakLeftElbowX) *
                           RotX((leftWristCorrection + a[13]) * scale[ScaleLeftElbowX]),
                       channels + LeftElbowChannel);
    WriteJointRotation(tweaks.Of(TweakLeftWristX) * RotX(-leftWristCorrection) * leftWristChain,
                       channels + LeftWristChannel);

    WriteJointRotation(tweaks.Of(TweakRightShoulderX) * RotX(scale[ScaleRightShoulderX] * a[7]) *
                           RotY(scale[ScaleRightShoulderY] * a[6]) *
                           RotZ(scale[ScaleRightShoulderZ] * a[10]),
                       channels + RightShoulderChannel);
    WriteJointRotation(tweaks.Of(TweakRightElbowX) *
                           RotX((rightWristCorrection + a[11]) * scale[ScaleRightElbowX]),
                       channels + RightElbowChannel);
    WriteJointRotation(tweaks.Of(TweakRightWristX) * RotX(-rightWristCorrection) * rightWristChain,
                       channels + RightWristChannel);

    WriteJointRotation(tweaks.Of(TweakChestX) * RotY(a[22]) * RotX(scale[ScaleChestX] * a[21]) *
                           RotZ(a[20]),
                       channels + ChestChannel);
    // One pair of potentiometers drives both collars.
    WriteJointRotation(tweaks.Of(TweakLeftCollarX) * RotX(a[5]) * RotY(a[4]),
                       channels + LeftCollarChannel);
    WriteJointRotation(tweaks.Of(TweakRightCollarX) * RotX(a[5]) * RotY(a[4]),
                       channels + RightCollarChannel);

    NeckBend bend = SolveNeck(actor, a);
    JointAngles neck = WriteJointRotation(tweaks.Of(TweakNeckX) * RotY(bend.y) * RotX(bend.x),
                                          channels + NeckChannel);

    // The head sensors ride on the neck, so the head first undoes the neck's
    // own turn before applying its potentiometers.
    WriteJointRotation(tweaks.Of(TweakHeadX) * RotX(-neck.x) * RotY(-neck.y) * RotX(a[43]) *
                           RotY(a[41]) * RotZ(a[3]) * RotX(a[2]) * RotY(a[1]),
                       channels + HeadChannel);
}
