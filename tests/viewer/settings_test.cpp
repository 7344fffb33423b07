#include "viewer/settings.h"

#include "tests/support/temp_folder.h"
#include "tests/viewer/viewer_test_support.h"

namespace {
class SettingsTest : public ViewerTest {
  protected:
    TempFolder folder;
};

TEST_F(SettingsTest, FirstRunWritesEveryKeyWithItsDefaultInReadOrder)
{
    std::string path = folder.File("config/varnel.ini"); // the folder is made
    LoadSettingsFile(state, path);
    ASSERT_TRUE(SaveSettingsFile(state, path));
    EXPECT_EQ(ReadWholeFile(path),
              "[Varnel]\nCurrentActorFile=\nCurrentActorFileDir=\nCurrentFile=\nCurrentFileDir=\n"
              "ShowAxes=1\nShowGrid=1\nReportFrameRate=0\nShowFootShadow=1\nFollowCharacter=0\n"
              "ShowContactPoints=1\nShowNodeNames=0\nShowNodes=0\nLoop=1\nRenderType=2\n"
              "AnkleHeelBallAngle=85.000000\nBallToHeel_AnkleToHeel_Ratio=1.500000\n"
              "Floor.dzdx=0.000000\nFloor.dzdy=0.000000\nFloor.z0=0.000000\nFloor.min=0.000000\n"
              "Floor.max=0.000000\nFloor.clamp=0\nFloor.NumSteps=0\nRecordLimitFS=5\n"
              "RecordFramesOrSeconds=0\nRecordStop=0\nRecordBeep=1\nRecordDelayEnable=0\n"
              "RecordDelay=3\nUsePositionSensor=0\nAutoload=1\nIgnoreLowerBody=0\n"
              "LookForSuitOnStartup=1\n");
}

TEST_F(SettingsTest, ValuesReadAsThePlatformReadsThem)
{
    const std::string longPath(300, 'p');
    struct Case {
        const char* key;
        std::string value, written;
    } cases[] = {
        {"AnkleHeelBallAngle", "abc", "85.000000"},
        {"AnkleHeelBallAngle", "nan", "85.000000"},
        {"AnkleHeelBallAngle", "72.25deg", "72.250000"},
        {"Floor.z0", "-2.5e1", "-25.000000"},
        {"ShowGrid", "abc", "0"},
        {"ShowGrid", "", "1"},
        {"RecordLimitFS", "-12 s", "-12"},
        {"RecordLimitFS", "+30", "30"},
        {"Floor.NumSteps", "3.9", "3"},
        {"CurrentFile", longPath, longPath.substr(0, MaxTextSettingLength)},
    };
    for (const Case& c : cases) {
        ResetViewerForTesting();
        ReadSettings(state, IniText("[Varnel]\n" + std::string(c.key) + "=" + c.value + "\n"));
        IniText written("");
        WriteSettings(state, written);
        char value[512];
        written.Find("Varnel", c.key, value, sizeof value, sizeof value - 1);
        EXPECT_EQ(value, c.written) << c.key << "=" << c.value;
    }
}

TEST_F(SettingsTest, SavingKeepsTheFilesOtherKeysAndSections)
{
    const std::string byHand = "; by hand\n[Window]\nWidth=900\n\n[Varnel]\nShowGrid=0\nColour=b\n";
    std::string path = folder.Write("varnel.ini", byHand);
    LoadSettingsFile(state, path);
    state.ShowAxes = 0;
    ASSERT_TRUE(SaveSettingsFile(state, path));
    std::string saved = ReadWholeFile(path);
    EXPECT_EQ(saved.rfind(byHand, 0), 0u) << saved;
    EXPECT_NE(saved.find("\nShowAxes=0\n"), std::string::npos) << saved;
}
} // namespace
