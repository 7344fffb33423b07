#include "tools/cli/command_line.h"

#include "tools/cli/commands.h"
#include "tools/cli/printable_text.h"
#include "tools/cli/tool_messages.h"
#include "varnel.h"

#include <cctype>
#include <sstream>

namespace {
std::string VersionText()
{
    uint32_t library = VarnelVersion();
    return "varnel " VARNEL_PROGRAM_VERSION " (libvarnel " + std::to_string(library & 0xffffu) +
           "." + std::to_string(library >> 16) + ")";
}

// The command a usage error belongs to: the one being parsed, else the
// program itself.
CLI::App& FailedCommand(CLI::App& app)
{
    std::vector<CLI::App*> chosen = app.get_subcommands();
    return chosen.empty() ? app : *chosen.back();
}

// CLI11's message as one line starting in lower case, as the others do.
// CLI11 checks for missing options before it looks at words it did not
// know, so a mistyped option would be reported as a missing one: such a
// word is named first.
std::string ProblemText(const CLI::App& command, const CLI::ParseError& error)
{
    std::vector<std::string> unknown = command.remaining();
    if (!unknown.empty())
        return (unknown[0].starts_with('-') ? "unknown option '" : "unexpected argument '") +
               PrintableText(unknown[0]) + "'";
    std::string text = error.what();
    for (char& c : text)
        if (c == '\n')
            c = ' ';
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    if (text.size() > 1 && std::isupper((unsigned char)text[0]) &&
        std::islower((unsigned char)text[1]))
        text[0] = char(std::tolower((unsigned char)text[0]));
    // Values the user typed come back in it.
    return PrintableText(text);
}

// An unknown first word is a mistyped command, which CLI11 would report as
// a missing one.
std::string UnknownCommand(CLI::App& app, int argc, const char* const argv[])
{
    if (argc < 2 || argv[1][0] == '-')
        return "";
    for (const CLI::App* command : app.get_subcommands({}))
        if (command->check_name(argv[1]))
            return "";
    return argv[1];
}

int UsageError(std::FILE* errors, const std::string& command, const std::string& problem)
{
    std::string help = command.empty() ? "varnel --help" : "varnel " + command + " --help";
    std::fprintf(errors, "%s%s\nRun '%s' for usage.\n", MessagePrefix(command).c_str(),
                 problem.c_str(), help.c_str());
    return UsageErrorStatus;
}
} // namespace

int RunCommandLine(int argc, const char* const argv[], std::FILE* out, std::FILE* errors)
{
    CLI::App app{"varnel: suit simulator, headless recorder and file tools"};
    app.name("varnel");
    app.require_subcommand(1);
    app.set_version_flag("--version", VersionText(), "Print the program's and library's versions");
    app.footer("Exit status:\n"
               "  0  success, --help and --version\n"
               "  1  a failure of the command (see its --help)\n"
               "  2  a usage error (unknown command or option, missing or bad value), or for "
               "suits, record and stream UDP port 8000 that cannot be opened\n");
    CommandRun run{out, errors, 0};
    AddSimulateCommand(app, run);
    AddRecordCommand(app, run);
    AddSolveCommand(app, run);
    AddStreamCommand(app, run);
    AddSuitsCommand(app, run);
    AddInfoCommand(app, run);
    AddActorCommand(app, run);
    AddConvertCommand(app, run);

    LibraryMessagesTo libraryMessages(errors);
    for (CLI::App* command : app.get_subcommands({}))
        command->preparse_callback([&libraryMessages, command](size_t) {
            libraryMessages.SetCommand(command->get_name());
        });

    std::string unknown = UnknownCommand(app, argc, argv);
    if (!unknown.empty())
        return UsageError(errors, "", "unknown command '" + PrintableText(unknown) + "'");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() != 0) {
            if (argc < 2)
                return UsageError(errors, "", "no command given");
            // A word before the command is the program's, not the command's.
            CLI::App* command = &FailedCommand(app);
            if (command->remaining().empty() && !app.remaining().empty())
                command = &app;
            return UsageError(errors, command == &app ? "" : command->get_name(),
                              ProblemText(*command, error));
        }
        // --help or --version: CLI11 words them, on the output.
        std::ostringstream text, ignored;
        app.exit(error, text, ignored);
        std::fputs(text.str().c_str(), out);
        return 0;
    }
    std::fflush(out);
    return run.exitStatus;
}
