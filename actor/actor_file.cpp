#include "actor/actor_file.h"

#include "actor/actor_limits.h"
#include "common/actor_file_format.h"
#include "platform/atomic_file.h"

#include <charconv>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace {
// "%f" as in the C locale: the client's locale must not turn "5.5" into 5.
bool ScanFloat(const char* text, float* value)
{
    static const locale_t CLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    char* end = nullptr;
    float number = CLocale ? strtof_l(text, &end, CLocale) : std::strtof(text, &end);
    if (end == text)
        return false;
    *value = number;
    return true;
}

// "%g" as in the C locale (to_chars with a precision is specified so).
void AppendNumber(std::string* text, double value)
{
    char buffer[32];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    text->append(buffer, result.ptr);
}
} // namespace

int ReadActorDataFromIni(const IniText& file, ActorData* actor)
{
    // Read aside: a file with an unusable value changes nothing.
    ActorData read = *actor;
    char text[IniValueMaxLength + 1];
    if (!file.Find("Units", "Units", text, sizeof text))
        std::snprintf(text, sizeof text, "%s", ActorUnits[ActorUnitsInches].name);
    int units = FindActorUnit(text);
    if (units < 0)
        return 0;
    const float reciprocal = 1.0f / ActorUnits[units].perInch;

    for (ActorGroup group : ActorFileGroupOrder) {
        const char* section = ActorGroupSection(group);
        for (const ActorKey& key : ActorKeys) {
            if (key.group != group)
                continue;
            float value;
            if (!file.Find(section, key.name, text, sizeof text) || !ScanFloat(text, &value)) {
                // Keys missing or unreadable: what came before is kept.
                if (ActorDataIsUsable(read))
                    *actor = read;
                return 0;
            }
            ActorValue(read, key) = ActorKeyIsLength(key) ? value * reciprocal : value;
        }
    }
    if (!ActorDataIsUsable(read))
        return 0;
    *actor = read;
    return 1;
}

std::string FormatActorFile(const ActorData& actor, int units)
{
    const ActorUnit& unit = ActorUnits[units];
    std::string text;
    text.reserve(4096);
    text += "[Units]\nUnits=";
    text += unit.name;
    text += "\n";
    for (ActorGroup group : ActorFileGroupOrder) {
        text += "\n[";
        text += ActorGroupSection(group);
        text += "]\n";
        for (const ActorKey& key : ActorKeys) {
            if (key.group != group)
                continue;
            text += key.name;
            text += '=';
            AppendNumber(&text, ActorValueInUnit(actor, key, unit));
            text += '\n';
        }
    }
    return text;
}

int VarnelReadActorData(const char* path, ActorData* actor)
{
    if (!path || !actor)
        return 0;
    return ReadActorDataFromIni(IniText::Load(path), actor);
}

int VarnelWriteActorData(const char* path, const ActorData* actor, int units)
{
    // Never a file that the reader would refuse.
    if (!path || !actor || units < 0 || units >= ActorNumUnits || !ActorDataIsUsable(*actor))
        return 0;
    const std::string text = FormatActorFile(*actor, units);
    AtomicFile file;
    if (file.Open(path) != AtomicFileOpen::Opened)
        return 0;
    file.Write(text.data(), text.size());
    return file.Commit() ? 1 : 0;
}
