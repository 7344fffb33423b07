// The actor commands between the open suit, actor files and the skeleton.
#include "tests/suitlink/suit_link_test_support.h"
#include "tests/support/temp_folder.h"
#include "tests/support/vector_matchers.h"
#include "tests/viewer/viewer_test_support.h"
#include "viewer/commands.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {
// The default actor with every bone a tenth longer.
ActorData TallActor()
{
    ActorData actor;
    VarnelGetActorData(nullptr, &actor);
    for (float& bone : actor.bones)
        bone *= 1.1f;
    return actor;
}

// Every value alike up to the rounding of the file's text.
void ExpectActorNear(const ActorData& actual, const ActorData& expected)
{
    std::array<float, sizeof(ActorData) / sizeof(float)> a, e;
    std::memcpy(a.data(), &actual, sizeof actual);
    std::memcpy(e.data(), &expected, sizeof expected);
    for (size_t i = 0; i < a.size(); i++)
        EXPECT_NEAR(a[i], e[i], 1e-4f * std::max(1.0f, std::abs(e[i]))) << i;
}

class ActorCommandTest : public ViewerTest {
  protected:
    void OpenASuit()
    {
        ASSERT_EQ(VarnelInit(), 1);
        ASSERT_EQ(FindSuitsWhileSending({{&suit, MakePacket("Walker")}}), 1);
        state.SuitHandle = VarnelOpen(nullptr, nullptr, nullptr);
        ASSERT_NE(state.SuitHandle.load(), nullptr);
    }
    ActorData SuitActor()
    {
        ActorData actor;
        VarnelGetActorData(state.SuitHandle, &actor);
        return actor;
    }

    TempFolder folder;
    TestSuit suit;
};

TEST_F(ActorCommandTest, WithoutASuitTheFileCommandsSaySoAndDefaultModelDoesNothing)
{
    MakeTake(state, {PoseAt(Vector(1, 2, 3))});
    const Skeleton before = state.Skeleton;
    const std::pair<Command, bool> commands[] = {{Command::LoadActorFile, true},
                                                 {Command::StoreActorFile, true},
                                                 {Command::DefaultModel, false}};
    for (auto [command, says] : commands) {
        shell.messages.clear();
        shell.openChoices = shell.saveChoices = {folder.File("walker.vnl")};
        RunCommand(state, shell, command);
        ASSERT_EQ(shell.messages.size(), says ? 1u : 0u) << int(command);
        if (says) {
            EXPECT_EQ(shell.messages[0].text, "You must first connect to a Varnel suit");
            EXPECT_EQ(shell.messages[0].icon, MessageIcon::Exclamation);
        }
    }
    EXPECT_TRUE(shell.openDialogs.empty());
    EXPECT_TRUE(shell.saveDialogs.empty());
    EXPECT_EQ(std::memcmp(&before, &state.Skeleton, sizeof before), 0);
}

TEST_F(ActorCommandTest, LoadGivesAReadableFileToTheSuitAndSaysWhichFileItRead)
{
    OpenASuit();
    const ActorData original = SuitActor(), tall = TallActor();
    const std::string good = folder.File("tall.vnl");
    ASSERT_EQ(VarnelWriteActorData(good.c_str(), &tall, ActorUnitsCentimeters), 1);
    const std::string broken =
        folder.Write("broken.vnl", "[Units]\nUnits=Inches\n\n[Bones]\nLeftPelvis=12.7\n");
    const std::string missing = folder.File("missing.vnl");
    struct Case {
        std::string path;
        std::string status;
        bool given;
    };
    const Case cases[] = {{missing, "Error reading file " + missing, false},
                          {broken, "Error reading file " + broken, false},
                          {good, "Reading file " + good, true}};
    for (const Case& c : cases) {
        shell.openChoices = {c.path};
        RunCommand(state, shell, Command::LoadActorFile);
        EXPECT_EQ(shell.Status(StatusPane::Messages), c.status);
        ActorData now = SuitActor();
        ExpectActorNear(now, c.given ? tall : original);
    }
}

TEST_F(ActorCommandTest, StoreWritesTheSuitsActorInInches)
{
    OpenASuit();
    const ActorData tall = TallActor();
    VarnelSetActorData(state.SuitHandle, &tall);
    const std::string path = folder.File("stored.vnl");
    shell.saveChoices = {path};
    RunCommand(state, shell, Command::StoreActorFile);
    ActorData read;
    ASSERT_EQ(VarnelReadActorData(path.c_str(), &read), 1);
    ExpectActorNear(read, tall);
    EXPECT_NE(ReadWholeFile(path).find("Units=Inches"), std::string::npos);
    EXPECT_TRUE(shell.statusTexts.empty());
}

TEST_F(ActorCommandTest, DefaultModelPutsTheTakesFramesOnTheSuitsBones)
{
    OpenASuit();
    const ActorData tall = TallActor();
    VarnelSetActorData(state.SuitHandle, &tall);
    MakeTake(state, {PoseAt(Vector(1, 2, 30), 7), PoseAt(Vector(4, 5, 31), 8)});
    const std::vector<SkeletonFrame> frames(state.Skeleton.frames, state.Skeleton.frames + 2);

    RunCommand(state, shell, Command::DefaultModel);
    Skeleton expected = {};
    VarnelInitSkeleton(&expected);
    VarnelCopyActorToSkeleton(&expected, &tall);
    for (int node = 0; node < 25; node++)
        EXPECT_VECTOR_NEAR(state.Skeleton.nodes[node].offset, expected.nodes[node].offset, 1e-6f)
            << node;
    ASSERT_EQ(state.Skeleton.numFrames, 2);
    EXPECT_EQ(std::memcmp(state.Skeleton.frames, frames.data(), 2 * sizeof(SkeletonFrame)), 0);
    VarnelFreeSkeletonFrames(&expected);
}
} // namespace
