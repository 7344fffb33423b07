// Where the hips of a walking body are: the lowest of the four foot points
// (heels and balls) carries the body and stays where it is on a level floor
// at height 0, as a suit's wearer moves over the ground. The simulator
// sends this as the position sensor's reading.
#pragma once

#include "varnel.h"

class HipsTravel {
  public:
    // The legs' measurements come from the actor's bones.
    explicit HipsTravel(const ActorData& actor);

    // Starts over: the next pose stands over the origin.
    void Reset() { support = -1; }

    // Writes the hips position (channels 0..2, inches) of a pose whose
    // rotations are set, moving on from the previous pose placed.
    void Place(SkeletonFrame& pose);

  private:
    void FootPoints(const SkeletonFrame& pose, Vector points[4]) const;

    float pelvis[2], upperLeg[2], lowerLeg[2], ankleHeight[2], heel[2], foot[2];
    int support = -1;
    Vector hips{0, 0, 0};
    Vector previous[4];
};
