#include "tools/simulate/take_file.h"

#include "tools/cli/bvh_foot_options.h"

#include <fstream>

std::string TakeFile::Read(const std::string& path)
{
    // The library says nothing about a file it cannot open.
    if (!std::ifstream(path))
        return "cannot open " + path;
    if (!VarnelReadBVH(path.c_str(), &skeleton, DefaultAnkleHeelBallAngle, DefaultBallToHeelRatio))
        return "cannot read the take " + path;
    if (skeleton.numFrames < 1)
        return path + " holds no frames";
    return "";
}
