// `varnel suits`: listen for one second and list the suits heard.
#include "tools/cli/commands.h"
#include "tools/suits/suit_table_format.h"
#include "varnel.h"

#include <cstdio>
#include <vector>

namespace {
int RunSuits()
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
        std::fprintf(stderr, "varnel suits: the library refused to look for suits\n");
        return 2;
    }
    if (suits.empty()) {
        std::printf("No Varnel suits detected\n");
        return 1;
    }
    std::fputs(FormatSuitTable(suits).c_str(), stdout);
    return 0;
}
} // namespace

void AddSuitsCommand(CLI::App& app, int& exitStatus)
{
    CLI::App* command = app.add_subcommand(
        "suits", "Listen on UDP port 8000 for one second and list the suits heard");
    command->final_callback([&exitStatus] { exitStatus = RunSuits(); });
}
