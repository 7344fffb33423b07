#include "tests/support/owned_skeleton.h"
#include "tools/simulate/take_file.h"

#include <gtest/gtest.h>

namespace {
int IgnoreMessage(const char*)
{
    return 1;
}

TEST(TakeFile, AnotherBodyIsRefusedNamingTheJoint)
{
    const std::string path = VARNEL_SOURCE_DIR "/tests/data/external-bvh/test_simple.bvh";
    VarnelMessageHandler previous = VarnelSetMessageHandler(IgnoreMessage);
    OwnedSkeleton take;
    EXPECT_EQ(ReadTakeFile(path, take.skeleton),
              path + " is not the 18-joint Varnel body: line 2 has root 'Base' where 'Hips' "
                     "was expected");
    VarnelSetMessageHandler(previous);
}
} // namespace
