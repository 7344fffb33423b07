#include "platform/ini_file.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace {
std::string Lookup(const IniText& ini, const char* section, const char* key)
{
    char value[IniValueMaxLength + 1];
    return ini.Find(section, key, value, sizeof value) ? value : "<missing>";
}

TEST(IniText, NamesMatchWithoutRegardToCase)
{
    IniText ini("[Bones]\nLeftPelvis=5\n[units]\nUNITS=Meters\n");
    EXPECT_EQ(Lookup(ini, "bones", "leftpelvis"), "5");
    EXPECT_EQ(Lookup(ini, "Units", "Units"), "Meters");
}

TEST(IniText, ValueIsTheTrimmedTextAfterTheFirstEquals)
{
    IniText ini("[S]\n  Key \t=\t 5.5 cm  \nPair=a=b\nEmpty=\n");
    EXPECT_EQ(Lookup(ini, "S", "Key"), "5.5 cm");
    EXPECT_EQ(Lookup(ini, "S", "Pair"), "a=b");
    EXPECT_EQ(Lookup(ini, "S", "Empty"), "");
}

TEST(IniText, ReadsCrLfAndLfLinesAndSkipsAByteOrderMark)
{
    IniText crlf("\xEF\xBB\xBF[S]\r\nA=1\r\nB=2\r\n");
    EXPECT_EQ(Lookup(crlf, "S", "A"), "1");
    EXPECT_EQ(Lookup(crlf, "S", "B"), "2");
    EXPECT_EQ(crlf.FirstSection(), "S");
    IniText noFinalLineEnd("[S]\nA=1");
    EXPECT_EQ(Lookup(noFinalLineEnd, "S", "A"), "1");
}

TEST(IniText, KeysOnlyCountInsideTheirSection)
{
    IniText ini("A=outside\n[S]\nB=1\n[T]\nA=2\nC\n");
    EXPECT_EQ(Lookup(ini, "S", "A"), "<missing>");
    EXPECT_EQ(Lookup(ini, "T", "A"), "2");
    EXPECT_EQ(Lookup(ini, "T", "C"), "<missing>"); // no "=": no value
    EXPECT_EQ(Lookup(ini, "U", "A"), "<missing>");
}

TEST(IniText, FirstSectionAndFirstKeyOfANameWin)
{
    IniText ini("[S]\nA=1\nA=2\n[T]\n[S]\nA=3\nB=4\n");
    EXPECT_EQ(Lookup(ini, "S", "A"), "1");
    EXPECT_EQ(Lookup(ini, "S", "B"), "<missing>");
}

TEST(IniText, CutsValuesToTheBuffer)
{
    IniText ini("[S]\nLong=" + std::string(300, 'x') + "\n");
    char value[IniValueMaxLength + 1];
    ASSERT_TRUE(ini.Find("S", "Long", value, sizeof value));
    EXPECT_EQ(std::string(value), std::string(IniValueMaxLength, 'x'));
    char small[4];
    ASSERT_TRUE(ini.Find("S", "Long", small, sizeof small));
    EXPECT_EQ(std::string(small), "xxx");
}

TEST(IniFile, MissingFileReadsAsAFileWithoutKeys)
{
    TempFolder folder;
    char value[8] = "junk";
    EXPECT_FALSE(ReadIniKey(folder.File("absent.ini").c_str(), "S", "A", value, sizeof value));
    EXPECT_STREQ(value, "");
    EXPECT_EQ(IniText::Load(folder.path.c_str()).FirstSection(), ""); // a folder, not a file

    std::string path = folder.Write("actor.vnl", "[Units]\r\nUnits = Feet\r\n");
    EXPECT_TRUE(ReadIniKey(path.c_str(), "units", "units", value, sizeof value));
    EXPECT_STREQ(value, "Feet");
}
// Writing touches only the line of the key written, wherever Find would look.
TEST(IniText, SetRewritesOrAddsOnlyTheKeysLine)
{
    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        {"", "[Varnel]\nKey=new\n"},
        {"; kept\n[Other]\nA=1", "; kept\n[Other]\nA=1\n\n[Varnel]\nKey=new\n"},
        {"[varnel]\r\nKEY = old\r\nB=2\r\n", "[varnel]\r\nKey=new\r\nB=2\r\n"},
        {"[Varnel]\nA=1\n\n[Other]\nKey=x\n", "[Varnel]\nA=1\nKey=new\n\n[Other]\nKey=x\n"},
        {"[Varnel]\nA=1", "[Varnel]\nA=1\nKey=new\n"},
        {"[Varnel]\n[Varnel]\nKey=second\n", "[Varnel]\nKey=new\n[Varnel]\nKey=second\n"},
    };
    for (const auto& test : cases) {
        IniText ini(test.before);
        ini.Set("Varnel", "Key", "new");
        EXPECT_EQ(ini.Text(), test.after) << test.before;
        EXPECT_EQ(Lookup(ini, "Varnel", "Key"), "new") << test.before;
    }
}

TEST(IniText, SavedTextReadsBackWithLongValuesWhenAskedFor)
{
    TempFolder folder;
    std::string path = folder.File("varnel.ini");
    IniText ini = IniText::Load(path.c_str());
    const std::string longPath(259, 'p');
    ini.Set("Varnel", "CurrentFile", longPath);
    ASSERT_TRUE(ini.Save(path.c_str()));
    IniText read = IniText::Load(path.c_str());
    char value[260];
    ASSERT_TRUE(read.Find("Varnel", "CurrentFile", value, sizeof value, 259));
    EXPECT_EQ(value, longPath);
    EXPECT_EQ(Lookup(read, "Varnel", "CurrentFile"), longPath.substr(0, IniValueMaxLength));
    EXPECT_FALSE(ini.Save(folder.File("missing/varnel.ini").c_str()));
}
} // namespace
