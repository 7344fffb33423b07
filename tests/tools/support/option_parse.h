// A subcommand's options parsed from a command line, as the program parses
// them.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

// Registers the options with addOptions on the subcommand `name` and parses
// "name arguments". True when they are accepted, and then *options (if
// given) holds what was parsed.
template <typename Options>
bool ParseOptions(const std::string& name, void (*addOptions)(CLI::App&, Options&),
                  const std::string& arguments, Options* options)
{
    Options parsed;
    CLI::App app;
    addOptions(*app.add_subcommand(name), parsed);
    try {
        app.parse(name + " " + arguments, false);
    } catch (const CLI::ParseError&) {
        return false;
    }
    if (options)
        *options = parsed;
    return true;
}
