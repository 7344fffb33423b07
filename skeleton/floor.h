// The floor's height at a point, for a floor already read. The solver reads
// the floor once per frame and asks this for every height, so a floor set
// from another thread meanwhile never mixes into one frame.
#pragma once

#include "varnel.h"

float FloorHeightOn(const FloorGeometry& floor, float x, float y);
