#include "tools/simulate/take_file.h"

#include "tools/cli/bvh_body_check.h"
#include "varnel.h"

#include <fstream>

std::string ReadTakeFile(const std::string& path, Skeleton& take)
{
    // The library says nothing about a file it cannot open.
    if (!std::ifstream(path))
        return "cannot open " + path;
    if (!VarnelReadBVH(path.c_str(), &take, VARNEL_DEFAULT_ANKLE_HEEL_BALL_ANGLE,
                       VARNEL_DEFAULT_BALL_TO_HEEL_RATIO)) {
        std::string body = NotTheBodyLine(path, path);
        return body.empty() ? "cannot read the take " + path : body;
    }
    if (take.numFrames < 1)
        return path + " holds no frames";
    return "";
}
