#include "tools/cli/actor_file_reading.h"

#include "common/actor_file_format.h"
#include "platform/ini_file.h"
#include "tools/cli/printable_text.h"

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
} // namespace

bool ReadActorFile(const NamedFile& file, ActorData* actor, int* units, std::ostream& errors)
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
