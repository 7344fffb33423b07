#include "viewer/settings.h"

#include "viewer/text_format.h"

#include <filesystem>
#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

namespace {
constexpr const char* Section = "Varnel";

// Every setting with its key, in the order the file is read and written.
// Settings is ViewerSettings or const ViewerSettings.
template <typename Settings, typename Visitor> void VisitSettings(Settings& s, Visitor&& visit)
{
    visit("CurrentActorFile", s.CurrentActorFile);
    visit("CurrentActorFileDir", s.CurrentActorFileDir);
    visit("CurrentFile", s.CurrentFile);
    visit("CurrentFileDir", s.CurrentFileDir);
    visit("ShowAxes", s.ShowAxes);
    visit("ShowGrid", s.ShowGrid);
    visit("ReportFrameRate", s.ReportFrameRate);
    visit("ShowFootShadow", s.ShowFootShadow);
    visit("FollowCharacter", s.FollowCharacter);
    visit("ShowContactPoints", s.ShowContactPoints);
    visit("ShowNodeNames", s.ShowNodeNames);
    visit("ShowNodes", s.ShowNodes);
    visit("Loop", s.Loop);
    visit("RenderType", s.RenderType);
    visit("AnkleHeelBallAngle", s.AnkleHeelBallAngle);
    visit("BallToHeel_AnkleToHeel_Ratio", s.BallToHeel_AnkleToHeel_Ratio);
    visit("Floor.dzdx", s.Floor.dzdx);
    visit("Floor.dzdy", s.Floor.dzdy);
    visit("Floor.z0", s.Floor.z0);
    visit("Floor.min", s.Floor.min);
    visit("Floor.max", s.Floor.max);
    visit("Floor.clamp", s.Floor.clamp);
    visit("Floor.NumSteps", s.Floor.NumSteps);
    visit("RecordLimitFS", s.RecordLimitFS);
    visit("RecordFramesOrSeconds", s.RecordFramesOrSeconds);
    visit("RecordStop", s.RecordStop);
    visit("RecordBeep", s.RecordBeep);
    visit("RecordDelayEnable", s.RecordDelayEnable);
    visit("RecordDelay", s.RecordDelay);
    visit("UsePositionSensor", s.UsePositionSensor);
    visit("Autoload", s.Autoload);
    visit("IgnoreLowerBody", s.IgnoreLowerBody);
    visit("LookForSuitOnStartup", s.LookForSuitOnStartup);
}

// As the platform's integer profile read: an optional sign and the digits
// after it, wrapping like a 32-bit word; no digits read as 0.
int ParseProfileInteger(const char* text)
{
    bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        text++;
    uint32_t magnitude = 0;
    for (; *text >= '0' && *text <= '9'; text++)
        magnitude = magnitude * 10 + uint32_t(*text - '0');
    return int(negative ? 0u - magnitude : magnitude);
}

struct SettingReader {
    const IniText& file;

    // An empty value counts as missing, as the platform's read has it.
    int ReadInteger(const char* key, int current) const
    {
        char value[IniValueMaxLength + 1];
        if (!file.Find(Section, key, value, sizeof value) || value[0] == '\0')
            return current;
        return ParseProfileInteger(value);
    }

    void operator()(const char* key, std::atomic<int>& field) const
    {
        field = ReadInteger(key, field);
    }
    void operator()(const char* key, int32_t& field) const { field = ReadInteger(key, field); }
    void operator()(const char* key, float& field) const
    {
        char value[IniValueMaxLength + 1];
        if (file.Find(Section, key, value, sizeof value))
            ScanFloat(value, &field);
    }
    void operator()(const char* key, std::string& field) const
    {
        char value[MaxTextSettingLength + 1];
        file.Find(Section, key, value, sizeof value, MaxTextSettingLength);
        field = value;
    }
};

struct SettingWriter {
    IniText& file;

    void operator()(const char* key, const std::atomic<int>& field) const
    {
        file.Set(Section, key, std::to_string(field.load()));
    }
    void operator()(const char* key, int32_t field) const
    {
        file.Set(Section, key, std::to_string(field));
    }
    void operator()(const char* key, float field) const
    {
        file.Set(Section, key, FormatText("%f", double(field)));
    }
    void operator()(const char* key, const std::string& field) const
    {
        file.Set(Section, key, field);
    }
};

std::filesystem::path HomeFolder()
{
    if (const char* home = getenv("HOME"); home && *home)
        return home;
    if (const passwd* user = getpwuid(getuid()))
        return user->pw_dir;
    return ".";
}

// The desktop's rules ignore a relative XDG_CONFIG_HOME.
std::filesystem::path ConfigurationFolder()
{
    if (const char* folder = getenv("XDG_CONFIG_HOME"); folder && folder[0] == '/')
        return folder;
    return HomeFolder() / ".config";
}
} // namespace

std::string SettingsPath()
{
    return (ConfigurationFolder() / "varnel.ini").string();
}

void ReadSettings(ViewerSettings& settings, const IniText& file)
{
    VisitSettings(settings, SettingReader{file});
}

void WriteSettings(const ViewerSettings& settings, IniText& file)
{
    VisitSettings(settings, SettingWriter{file});
}

void LoadSettingsFile(ViewerSettings& settings, const std::string& path)
{
    ReadSettings(settings, IniText::Load(path.c_str()));
}

bool SaveSettingsFile(const ViewerSettings& settings, const std::string& path)
{
    std::error_code ignored; // a folder that cannot be made fails the save below
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    // Read again, so that keys written by others meanwhile survive.
    IniText file = IniText::Load(path.c_str());
    WriteSettings(settings, file);
    return file.Save(path.c_str());
}
