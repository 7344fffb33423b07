#include "tools/simulate/take_file.h"

#include "tools/cli/bvh_foot_options.h"

#include <fstream>

std::string ReadTakeFile(const std::string& path, Skeleton& take)
{
    // The library says nothing about a file it cannot open.
    if (!std::ifstream(path))
        return "cannot open " + path;
    if (!VarnelReadBVH(path.c_str(), &take, DefaultAnkleHeelBallAngle, DefaultBallToHeelRatio))
        return "cannot read the take " + path;
    if (take.numFrames < 1)
        return path + " holds no frames";
    return "";
}
