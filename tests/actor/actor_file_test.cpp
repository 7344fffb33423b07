#include "actor/actor_file.h"
#include "actor/default_actor.h"
#include "common/actor_file_format.h"
#include "suitlink/suit_slot.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// Every value different, negative ones among them, so that a key read into
// the wrong place or scaled when it should not be shows up.
ActorData DistinctActor()
{
    ActorData actor;
    for (int i = 0; i < ActorNumValues; i++)
        ActorValue(actor, ActorKeys[i]) = float(i + 1) * 0.375f - 11.0f;
    return actor;
}

ActorData FilledWith(float value)
{
    ActorData actor;
    for (const ActorKey& key : ActorKeys)
        ActorValue(actor, key) = value;
    return actor;
}

// Within the six significant digits of "%g".
void ExpectActorNear(const ActorData& actual, const ActorData& expected)
{
    for (const ActorKey& key : ActorKeys) {
        float want = ActorValue(expected, key);
        EXPECT_NEAR(ActorValue(actual, key), want, 1e-5f * std::max(1.0f, std::fabs(want)))
            << ActorGroupSection(key.group) << "." << key.name;
    }
}

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

int ReadText(const TempFolder& folder, const std::string& text, ActorData* actor)
{
    return VarnelReadActorData(folder.Write("actor.vnl", text).c_str(), actor);
}

TEST(ActorFileWrite, FormatsTheDefaultActorInEachUnit)
{
    const ActorData& actor = DefaultActorData();
    EXPECT_TRUE(
        FormatActorFile(actor, ActorUnitsInches)
            .starts_with("[Units]\nUnits=Inches\n\n[Bones]\nLeftPelvis=5\nLeftUpperLeg=17.5\n"));
    EXPECT_TRUE(
        FormatActorFile(actor, ActorUnitsMeters)
            .starts_with(
                "[Units]\nUnits=Meters\n\n[Bones]\nLeftPelvis=0.127\nLeftUpperLeg=0.4445\n"));
    EXPECT_TRUE(
        FormatActorFile(actor, ActorUnitsFeet)
            .starts_with(
                "[Units]\nUnits=Feet\n\n[Bones]\nLeftPelvis=0.416667\nLeftUpperLeg=1.45833\n"));
}

// Each folder holds expected.vnl and, unless it shows the default actor,
// input.vnl; the actor is written in the units expected.vnl names.
TEST(ActorFileWrite, MatchesTheGoldenFilesByteForByte)
{
    const std::filesystem::path root = VARNEL_SOURCE_DIR "/tests/data/golden/actor";
    int cases = 0;
    for (const auto& entry : std::filesystem::directory_iterator(root)) {
        SCOPED_TRACE(entry.path().filename().string());
        const std::string expected = ReadWholeFile((entry.path() / "expected.vnl").string());
        char unitName[IniValueMaxLength + 1];
        ASSERT_TRUE(IniText(expected).Find("Units", "Units", unitName, sizeof unitName));
        const int units = FindActorUnit(unitName);
        ASSERT_GE(units, 0);

        ActorData actor = DefaultActorData();
        const auto input = entry.path() / "input.vnl";
        if (std::filesystem::exists(input)) {
            ASSERT_EQ(VarnelReadActorData(input.c_str(), &actor), 1);
        }
        TempFolder folder;
        ASSERT_EQ(VarnelWriteActorData(folder.File("out.vnl").c_str(), &actor, units), 1);
        EXPECT_EQ(ReadWholeFile(folder.File("out.vnl")), expected);
        cases++;
    }
    EXPECT_GE(cases, 5);
}

TEST(ActorFileRoundTrip, EveryUnitGivesTheRecordBack)
{
    TempFolder folder;
    for (const ActorData& original : {DefaultActorData(), DistinctActor()}) {
        for (int units = 0; units < ActorNumUnits; units++) {
            SCOPED_TRACE(ActorUnits[units].name);
            const std::string path = folder.File("round.vnl");
            ASSERT_EQ(VarnelWriteActorData(path.c_str(), &original, units), 1);
            ActorData read = FilledWith(-999);
            ASSERT_EQ(VarnelReadActorData(path.c_str(), &read), 1);
            ExpectActorNear(read, original);
        }
    }
}

TEST(ActorFileRead, UnitsAreFoundWithoutRegardToCaseAndDefaultToInches)
{
    TempFolder folder;
    const std::string meters = FormatActorFile(DefaultActorData(), ActorUnitsMeters);
    ActorData actor = FilledWith(0);
    ASSERT_EQ(ReadText(folder, Replace(meters, "Units=Meters", "units = meters"), &actor), 1);
    ExpectActorNear(actor, DefaultActorData());

    const std::string inches = FormatActorFile(DefaultActorData(), ActorUnitsInches);
    actor = FilledWith(0);
    ASSERT_EQ(ReadText(folder, Replace(inches, "[Units]\nUnits=Inches\n", ""), &actor), 1);
    ExpectActorNear(actor, DefaultActorData());
}

TEST(ActorFileRead, UnknownUnitLeavesTheRecordUntouched)
{
    TempFolder folder;
    const std::string meters = FormatActorFile(DefaultActorData(), ActorUnitsMeters);
    const ActorData before = FilledWith(42);
    for (const char* unit : {"Units=metres", "Units=", "Units=Meter"}) {
        ActorData actor = before;
        EXPECT_EQ(ReadText(folder, Replace(meters, "Units=Meters", unit), &actor), 0) << unit;
        EXPECT_EQ(std::memcmp(&actor, &before, sizeof actor), 0) << unit;
    }
}

TEST(ActorFileRead, StopsAtTheFirstBadKeyKeepingWhatCameBefore)
{
    TempFolder folder;
    const ActorData distinct = DistinctActor();
    const std::string text = FormatActorFile(distinct, ActorUnitsCentimeters);

    // Only the last key of the file missing: everything else is stored.
    ActorData actor = FilledWith(42);
    size_t headZ = text.find("HeadZ=");
    ASSERT_EQ(ReadText(folder, text.substr(0, headZ), &actor), 0);
    EXPECT_EQ(actor.tweaks[TweakHeadZ], 42.0f);
    actor.tweaks[TweakHeadZ] = distinct.tweaks[TweakHeadZ];
    ExpectActorNear(actor, distinct);

    // Scales stand before Tweaks in the file: a bad scale leaves the tweaks
    // alone although the record holds them first.
    actor = FilledWith(42);
    size_t hipZ = text.find("RightHipZ=", text.find("[Scales]"));
    std::string badScale = text;
    badScale.replace(hipZ, std::string("RightHipZ=").size(), "RightHipZ=x");
    ASSERT_EQ(ReadText(folder, badScale, &actor), 0);
    for (int i = 0; i < ActorNumScales - 1; i++)
        EXPECT_FLOAT_EQ(actor.scales[i], distinct.scales[i]);
    EXPECT_EQ(actor.scales[ScaleRightHipZ], 42.0f);
    for (float tweak : actor.tweaks)
        EXPECT_EQ(tweak, 42.0f);
    EXPECT_NEAR(actor.bones[BoneHead], distinct.bones[BoneHead], 1e-4f);

    // An empty value counts as missing.
    actor = FilledWith(42);
    ASSERT_EQ(ReadText(folder, Replace(text, "LeftPelvis=", "LeftPelvis=\nX="), &actor), 0);
    EXPECT_EQ(actor.bones[BoneLeftPelvis], 42.0f);

    // A missing file reads as a file without keys.
    EXPECT_EQ(VarnelReadActorData(folder.File("none.vnl").c_str(), &actor), 0);
}

TEST(ActorFileRead, NumbersMayCarryTrailingTextAndCrLfLineEnds)
{
    TempFolder folder;
    std::string text = FormatActorFile(DefaultActorData(), ActorUnitsInches);
    text = Replace(text, "LeftFoot=5.5\n", "LeftFoot=5.5cm\n");
    text = Replace(text, "RightFoot=5.5\n", "RightFoot = +7e-1 \n");
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ActorData actor = FilledWith(0);
    ASSERT_EQ(ReadText(folder, crlf, &actor), 1);
    EXPECT_FLOAT_EQ(actor.bones[BoneLeftFoot], 5.5f);
    EXPECT_FLOAT_EQ(actor.bones[BoneRightFoot], 0.7f);
    EXPECT_FLOAT_EQ(actor.scales[ScaleLeftShoulderZ], 1.3f);
}

TEST(ActorFileWrite, RejectsUnitsOutsideTheTable)
{
    TempFolder folder;
    for (int units : {-1, ActorNumUnits}) {
        EXPECT_EQ(VarnelWriteActorData(folder.File("a.vnl").c_str(), &DefaultActorData(), units),
                  0);
        EXPECT_FALSE(std::filesystem::exists(folder.File("a.vnl")));
    }
    EXPECT_EQ(
        VarnelWriteActorData(folder.File("no/such/folder.vnl").c_str(), &DefaultActorData(), 0), 0);
}

// Runs the write in a child process set up by prepare, so that limits and
// identities stay out of the test process. Returns the write's result.
template <typename Prepare>
int WriteInChild(const std::string& path, const ActorData& actor, Prepare prepare)
{
    pid_t child = fork();
    if (child == 0) {
        if (!prepare())
            _exit(77);
        _exit(VarnelWriteActorData(path.c_str(), &actor, ActorUnitsMillimeters));
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> FolderEntries(const std::string& path)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path))
        names.push_back(entry.path().filename().string());
    return names;
}

TEST(ActorFileWrite, AFullDiskLeavesThePreviousFileIntact)
{
    TempFolder folder;
    const std::string path = folder.File("actor.vnl");
    ASSERT_EQ(VarnelWriteActorData(path.c_str(), &DefaultActorData(), ActorUnitsInches), 1);
    const std::string before = ReadWholeFile(path);

    const int result = WriteInChild(path, DistinctActor(), [] {
        // Writes past 1000 bytes fail with EFBIG, as on a full disk.
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{1000, 1000};
        return setrlimit(RLIMIT_FSIZE, &limit) == 0;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadWholeFile(path), before);
    EXPECT_EQ(FolderEntries(folder.path), std::vector<std::string>{"actor.vnl"});
}

TEST(ActorFileWrite, AReadOnlyFolderLeavesThePreviousFileIntact)
{
    TempFolder folder;
    const std::string path = folder.File("actor.vnl");
    ASSERT_EQ(VarnelWriteActorData(path.c_str(), &DefaultActorData(), ActorUnitsInches), 1);
    const std::string before = ReadWholeFile(path);
    ASSERT_EQ(chmod(folder.path.c_str(), 0555), 0);

    const int result = WriteInChild(path, DistinctActor(), [] {
        // Root writes anywhere; an ordinary user does not.
        if (geteuid() == 0)
            return setgid(65534) == 0 && setuid(65534) == 0;
        return true;
    });
    if (result == 77)
        GTEST_SKIP() << "cannot give up root here";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadWholeFile(path), before);
    EXPECT_EQ(FolderEntries(folder.path), std::vector<std::string>{"actor.vnl"});
}

TEST(ActorFileWrite, AWriteProtectedFileIsLeftIntact)
{
    TempFolder folder;
    const std::string path = folder.File("actor.vnl");
    ASSERT_EQ(VarnelWriteActorData(path.c_str(), &DefaultActorData(), ActorUnitsInches), 1);
    const std::string before = ReadWholeFile(path);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    ASSERT_EQ(chmod(folder.path.c_str(), 0777), 0);

    const int result = WriteInChild(path, DistinctActor(), [] {
        // Root writes a 0444 file; an ordinary user does not.
        if (geteuid() == 0)
            return setgid(65534) == 0 && setuid(65534) == 0;
        return true;
    });
    if (result == 77)
        GTEST_SKIP() << "cannot give up root here";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadWholeFile(path), before);
    struct stat status;
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, geteuid()) << "the file was replaced";
    EXPECT_EQ(FolderEntries(folder.path), std::vector<std::string>{"actor.vnl"});
}

TEST(ActorData, SuitsKeepTheirOwnActorAndNullGivesTheDefaults)
{
    SuitSlot slot;
    const ActorData distinct = DistinctActor();
    VarnelSetActorData(&slot, &distinct);
    ActorData got = FilledWith(0);
    VarnelGetActorData(&slot, &got);
    EXPECT_EQ(std::memcmp(&got, &distinct, sizeof got), 0);

    VarnelSetActorData(nullptr, &distinct);
    VarnelGetActorData(nullptr, &got);
    EXPECT_EQ(std::memcmp(&got, &DefaultActorData(), sizeof got), 0);
    EXPECT_EQ(got.bones[BoneLeftUpperLeg], 17.5f);
    EXPECT_EQ(got.scales[ScaleRightShoulderZ], 1.3f);
}

// A NaN, an infinity or a length beyond a million inches, in a file or in a
// record, is refused whole: nothing is stored and no file is written.
TEST(ActorData, UnusableValuesAreRefusedWhole)
{
    TempFolder folder;
    const std::string meters = FormatActorFile(DefaultActorData(), ActorUnitsMeters);
    const ActorData before = FilledWith(42);
    const char* spineValues[] = {"nan", "-inf", "infinity", "30000", "1e39"};
    for (const char* value : spineValues) {
        ActorData actor = before;
        std::string text = Replace(meters, "Spine=0.4826", std::string("Spine=") + value);
        EXPECT_EQ(ReadText(folder, text, &actor), 0) << value;
        EXPECT_EQ(std::memcmp(&actor, &before, sizeof actor), 0) << value;
    }

    SuitSlot slot;
    for (float unusable : {NAN, INFINITY, -2e6f}) {
        ActorData actor = DefaultActorData();
        actor.scales[ScaleChestX] = unusable;
        VarnelSetActorData(&slot, &before);
        VarnelSetActorData(&slot, &actor);
        ActorData got;
        VarnelGetActorData(&slot, &got);
        EXPECT_EQ(std::memcmp(&got, &before, sizeof got), 0) << unusable;
        EXPECT_EQ(VarnelWriteActorData(folder.File("out.vnl").c_str(), &actor, ActorUnitsInches),
                  0);
        EXPECT_FALSE(std::filesystem::exists(folder.File("out.vnl")));
    }
}
} // namespace
