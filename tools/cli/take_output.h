// The file a take is written to.
#pragma once

#include "tools/cli/bvh_units.h"
#include "varnel.h"

#include <cstdio>
#include <string>

// The output name that stands for standard output.
inline bool IsStandardOutput(const std::string& path)
{
    return path == "-";
}

// What stands in the way of writing the take to path, found out before a
// long take rather than after it: "" for nothing, else the reason.
std::string OutputPathProblem(const std::string& path);

// The take in its file or, failing that, in a recovery file: a take that
// cannot be recorded again is never dropped. Tells which on out or errors;
// false unless the take is in its own file. In units other than inches the
// library's text is scaled before the file takes it; a recovery file holds
// the library's inches.
bool SaveTake(const Skeleton& take, const std::string& path, std::FILE* out, std::FILE* errors,
              LengthUnit units = LengthUnit::Inches);

// The take as BVH text on takeOut (standard output), through a temporary
// file: the library writes only files. A take that cannot be passed on goes
// to a recovery file as with SaveTake. Tells the outcome on out or errors.
bool SaveTakeTo(const Skeleton& take, std::FILE* takeOut, std::FILE* out, std::FILE* errors,
                LengthUnit units = LengthUnit::Inches);
