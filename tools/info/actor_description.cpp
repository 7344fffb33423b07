#include "tools/info/actor_description.h"

#include "common/actor_file_format.h"
#include "platform/ini_file.h"
#include "tools/cli/actor_file_reading.h"
#include "tools/cli/json_writer.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

namespace {
std::string Lower(std::string text)
{
    for (char& c : text)
        c = char(std::tolower((unsigned char)c));
    return text;
}

std::string Number(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(value));
    return text;
}
// The units and, by section, each value in them.
std::string JsonDescription(const NamedFile& file, const ActorData& actor, const ActorUnit& unit)
{
    JsonWriter json;
    json.BeginObject().Key("file").String(file.name).Key("kind").String("actor");
    json.Key("units").String(unit.name).Key("sections").BeginObject();
    for (ActorGroup group : ActorFileGroupOrder) {
        json.Key(ActorGroupSection(group)).BeginObject();
        for (const ActorKey& key : ActorKeys)
            if (key.group == group)
                json.Key(key.name).Number(ActorValueInUnit(actor, key, unit));
        json.EndObject();
    }
    return json.EndObject().EndObject().Text() + "\n";
}
} // namespace

bool IsActorFile(const NamedFile& file)
{
    return Lower(std::filesystem::path(file.name).extension().string()) == ".vnl" ||
           Lower(IniText::Load(file.path.c_str()).FirstSection()) == "units";
}

int DescribeActorFile(const NamedFile& file, std::ostream& out, std::ostream& errors,
                      OutputForm form)
{
    ActorData actor;
    int units;
    if (!ReadActorFile(file, &actor, &units, errors))
        return 1;
    const ActorUnit& unit = ActorUnits[units];
    if (form == OutputForm::Json) {
        out << JsonDescription(file, actor, unit);
        return 0;
    }
    out << file.name << ": actor measurements\n";
    out << "Units: " << unit.name << "\n";
    for (ActorGroup group : ActorFileGroupOrder) {
        out << "\n[" << ActorGroupSection(group) << "]\n";
        for (const ActorKey& key : ActorKeys) {
            if (key.group != group)
                continue;
            char line[80];
            std::snprintf(line, sizeof line, "  %-18s %s\n", key.name,
                          Number(ActorValueInUnit(actor, key, unit)).c_str());
            out << line;
        }
    }
    return 0;
}
