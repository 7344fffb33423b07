#include "tools/actor/actor_conversion.h"

#include "common/actor_file_format.h"
#include "tools/cli/actor_file_reading.h"

int ConvertActorFile(const NamedFile& input, const std::string& output, int units,
                     std::ostream& out, std::ostream& errors)
{
    ActorData actor;
    int inputUnits;
    if (!ReadActorFile(input, &actor, &inputUnits, errors))
        return 1;
    if (VarnelWriteActorData(output.c_str(), &actor, units) != 1) {
        errors << "Can't write file " << output << "\n";
        return 1;
    }
    out << "Wrote " << output << " in " << ActorUnits[units].name << " (from "
        << ActorUnits[inputUnits].name << ")\n";
    return 0;
}
