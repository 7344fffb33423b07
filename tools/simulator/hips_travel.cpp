#include "tools/simulator/hips_travel.h"

#include "tools/simulator/rotation_angles.h"

HipsTravel::HipsTravel(const ActorData& actor)
{
    const float* bone = actor.bones;
    const int first[2] = {BoneLeftPelvis, BoneRightPelvis};
    for (int side = 0; side < 2; side++) {
        pelvis[side] = bone[first[side]];
        upperLeg[side] = bone[first[side] + 1];
        lowerLeg[side] = bone[first[side] + 2];
        ankleHeight[side] = bone[first[side] + 3];
        heel[side] = bone[first[side] + 4];
        foot[side] = bone[first[side] + 5];
    }
}

// Left heel, right heel, left ball, right ball, relative to the hips joint
// in world axes: the order of the contact bits.
void HipsTravel::FootPoints(const SkeletonFrame& pose, Vector points[4]) const
{
    const int hip[2] = {LeftHipChannel, RightHipChannel};
    const int knee[2] = {LeftKneeChannel, RightKneeChannel};
    const int ankle[2] = {LeftAnkleChannel, RightAnkleChannel};
    Matrix hipsRotation = JointRotationFromChannels(pose.channels + HipsChannel);
    for (int side = 0; side < 2; side++) {
        float across = side == 0 ? pelvis[side] : -pelvis[side];
        Matrix rotation = hipsRotation;
        Vector at = rotation * Vector(across, 0, 0);
        rotation = rotation * JointRotationFromChannels(pose.channels + hip[side]);
        at += rotation * Vector(0, 0, -upperLeg[side]);
        rotation = rotation * JointRotationFromChannels(pose.channels + knee[side]);
        at += rotation * Vector(0, 0, -lowerLeg[side]);
        rotation = rotation * JointRotationFromChannels(pose.channels + ankle[side]);
        points[side] = at + rotation * Vector(0, heel[side], -ankleHeight[side]);
        points[side + 2] = points[side] + rotation * Vector(0, -foot[side], 0);
    }
}

void HipsTravel::Place(SkeletonFrame& pose)
{
    Vector points[4];
    FootPoints(pose, points);
    if (support >= 0)
        hips -= points[support] - previous[support];
    else
        hips = Vector(0, 0, 0);
    int lowest = support >= 0 ? support : 0;
    for (int k = 0; k < 4; k++)
        if (points[k].z < points[lowest].z)
            lowest = k;
    support = lowest;
    hips.z = -points[support].z;
    for (int k = 0; k < 4; k++)
        previous[k] = points[k];
    pose.channels[0] = hips.x;
    pose.channels[1] = hips.y;
    pose.channels[2] = hips.z;
}
