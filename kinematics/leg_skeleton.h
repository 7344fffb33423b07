// The solver's private leg skeleton: the two leg chains of the actor, posed
// from a frame's hips and leg channels to find the four foot points.
#pragma once

#include "varnel.h"

// Foot points in the order of the support index and the contacts bits.
enum FootPoint { FootLeftHeel, FootRightHeel, FootLeftBall, FootRightBall, FootPointCount };

struct LegSkeleton {
    SkeletonNode nodes[VARNEL_NUM_NODES];
};

// Resets every node and links and sizes the two leg chains from the actor.
void BuildLegSkeleton(LegSkeleton& legs, const ActorData& actor);

// Forward kinematics of node and its subtree; angles come from channels (degrees).
void PoseLegNode(SkeletonNode* node, Vector position, const Matrix& rotation,
                 const float channels[VARNEL_NUM_CHANNELS]);

// Poses the legs with the hips at the origin and returns the foot points
// relative to the hips, in world axes.
void PoseFootPoints(LegSkeleton& legs, const float channels[VARNEL_NUM_CHANNELS],
                    Vector footPoints[FootPointCount]);
