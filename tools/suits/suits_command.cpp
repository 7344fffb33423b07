// `varnel suits`: listen for one second and list the suits heard.
#include "tools/cli/commands.h"
#include "tools/suits/suit_table_format.h"
#include "varnel.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace {
int RunSuits(bool json, std::FILE* out, std::FILE* errors)
{
    // A failure (port 8000 taken ...) has already been reported by the library.
    if (!VarnelInit())
        return 2;
    int count = VarnelFindSuits();
    std::vector<SuitInfo> suits;
    for (int index = 0; index < count; index++) {
        SuitInfo info;
        if (VarnelEnumerateSuitInfo(index, &info))
            suits.push_back(info);
    }
    VarnelFinish();
    if (count < 0) {
        std::fprintf(errors, "varnel suits: the library refused to look for suits\n");
        return 2;
    }
    if (json)
        std::fputs(FormatSuitJson(suits).c_str(), out);
    else if (suits.empty())
        std::fputs("No Varnel suits detected\n", out);
    else
        std::fputs(FormatSuitTable(suits).c_str(), out);
    return suits.empty() ? 1 : 0;
}
} // namespace

void AddSuitsCommand(CLI::App& app, CommandRun& run)
{
    auto json = std::make_shared<bool>(false);
    CLI::App* command = app.add_subcommand(
        "suits", "Listen on UDP port 8000 for one second and list the suits heard");
    command->add_flag("--json", *json,
                      "Print a JSON array of objects: index, address, port, name, rate, "
                      "positionSensor");
    command->footer(
        "Exit status:\n"
        "  0  suits were heard\n"
        "  1  \"No Varnel suits detected\" (an empty array with --json)\n"
        "  2  UDP port 8000 cannot be opened (the reason is printed), or a usage error\n");
    command->final_callback(
        [&run, json] { run.exitStatus = RunSuits(*json, run.out, run.errors); });
}
