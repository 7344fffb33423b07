#include "tools/cli/actor_file_reading.h"

#include "common/actor_file_format.h"
#include "platform/ini_file.h"
#include "tools/cli/printable_text.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {
bool CanOpen(const std::string& path)
{
    std::error_code error;
    return std::ifstream(path).good() && !std::filesystem::is_directory(path, error);
}

std::string UnitsName(const IniText& file)
{
    char name[IniValueMaxLength + 1];
    if (!file.Find("Units", "Units", name, sizeof name))
        return ActorUnits[ActorUnitsInches].name;
    return name;
}

// The key at which the library's reader stopped, in the order it reads.
std::string FirstBadKey(const IniText& file)
{
    char text[IniValueMaxLength + 1];
    for (ActorGroup group : ActorFileGroupOrder) {
        for (const ActorKey& key : ActorKeys) {
            if (key.group != group)
                continue;
            char* end = text;
            if (!file.Find(ActorGroupSection(group), key.name, text, sizeof text) ||
                (std::strtof(text, &end), end == text))
                return std::string("[") + ActorGroupSection(group) + "] " + key.name;
        }
    }
    return "a key";
}

// Reads the file, reporting why not on errors. *units is the file's unit.
bool ReadActor(const NamedFile& file, ActorData* actor, int* units, std::ostream& errors)
{
    if (!CanOpen(file.path)) {
        errors << "Can't open file " << file.name << "\n";
        return false;
    }
    const IniText text = IniText::Load(file.path.c_str());
    const std::string unitsName = UnitsName(text);
    *units = FindActorUnit(unitsName.c_str());
    if (*units < 0) {
        errors << "Unknown units \"" << PrintableText(unitsName) << "\" in file " << file.name
               << " (Inches, Feet, Millimeters, Centimeters or Meters)\n";
        return false;
    }
    if (VarnelReadActorData(file.path.c_str(), actor) != 1) {
        errors << "Error reading file " << file.name << ": " << FirstBadKey(text)
               << " is missing or not a number\n";
        return false;
    }
    return true;
}

std::string Number(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(value));
    return text;
}
} // namespace

namespace {
std::string Lower(std::string text)
{
    for (char& c : text)
        c = char(std::tolower((unsigned char)c));
    return text;
}
} // namespace

bool IsActorFile(const NamedFile& file)
{
    return Lower(std::filesystem::path(file.name).extension().string()) == ".vnl" ||
           Lower(IniText::Load(file.path.c_str()).FirstSection()) == "units";
}

int DescribeActorFile(const NamedFile& file, std::ostream& out, std::ostream& errors)
{
    ActorData actor;
    int units;
    if (!ReadActor(file, &actor, &units, errors))
        return 1;
    const ActorUnit& unit = ActorUnits[units];
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

int ConvertActorFile(const NamedFile& input, const std::string& output, int units,
                     std::ostream& out, std::ostream& errors)
{
    ActorData actor;
    int inputUnits;
    if (!ReadActor(input, &actor, &inputUnits, errors))
        return 1;
    if (VarnelWriteActorData(output.c_str(), &actor, units) != 1) {
        errors << "Can't write file " << output << "\n";
        return 1;
    }
    out << "Wrote " << output << " in " << ActorUnits[units].name << " (from "
        << ActorUnits[inputUnits].name << ")\n";
    return 0;
}
