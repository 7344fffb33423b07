// The BVH take that `varnel simulate --bvh` plays, read whole.
#pragma once

#include "varnel.h"

#include <string>

// Reads the file into take; an empty text on success, else the reason (the
// library has reported format errors itself).
std::string ReadTakeFile(const std::string& path, Skeleton& take);
