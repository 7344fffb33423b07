// The actor-file reader on arbitrary bytes. Beyond not crashing: whatever it
// accepts, the writer must turn into a file that reads back.
#include "actor/actor_file.h"
#include "platform/ini_file.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const IniText file(std::string(reinterpret_cast<const char*>(data), size));
    file.FirstSection();
    ActorData actor{};
    if (ReadActorDataFromIni(file, &actor) != 1)
        return 0;
    for (int units = 0; units < 5; units++) {
        ActorData again{};
        if (ReadActorDataFromIni(IniText(FormatActorFile(actor, units)), &again) != 1)
            std::abort();
    }
    return 0;
}
