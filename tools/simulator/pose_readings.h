// What a suit reads while its wearer holds a pose: the inverse of the
// suit's joint model for an actor with zero tweaks, unit scales and zero
// displacements, calibrated with every potentiometer at RestCount, the
// orientation sensor at 0 and the position sensor at the origin.
//
// What the suit cannot measure is handed on to the next joint down, so the
// segments below keep their turn in the world: the knees and elbows measure
// only their X angle, the rest of their turn goes to the ankle or wrist; the
// collars measure X and Y, their Z goes to the shoulder; both collars follow
// the left one, so the right shoulder takes the difference; the neck is not
// measured at all, so the head takes its turn.
#pragma once

#include "common/suit_datagram.h"
#include "varnel.h"

constexpr uint16_t RestCount = 2048;

// Every potentiometer at rest, the orientation sensor at 0 and the position
// sensor at the origin: the null pose.
void NullPoseReadings(SuitReadings& readings);

// The readings for the pose: potentiometers rounded to whole counts and
// held within 0..4095, orientation angles in degrees, the hips position
// (inches) as the position sensor's reading in meters.
void ReadingsFromPose(const SkeletonFrame& pose, SuitReadings& readings);
