// `varnel info FILE`: what a BVH motion file or an actor file holds.
#include "tools/cli/actor_file_reading.h"
#include "tools/cli/commands.h"
#include "tools/info/bvh_description.h"

#include <iostream>
#include <memory>

void AddInfoCommand(CLI::App& app, int& exitStatus)
{
    auto path = std::make_shared<std::string>();
    CLI::App* command =
        app.add_subcommand("info", "Describe a BVH motion file or an actor file (.vnl)");
    command->add_option("FILE", *path, "The file to describe")->required();
    command->callback(
        [path, &exitStatus] { exitStatus = DescribeFile(*path, std::cout, std::cerr); });
}

int DescribeFile(const std::string& path, std::ostream& out, std::ostream& errors)
{
    // Read once, so that telling the kind leaves a pipe's bytes to the reader.
    ReplayableFile input;
    if (!input.Open(path, errors))
        return 1;
    const NamedFile& file = input.File();
    return IsActorFile(file) ? DescribeActorFile(file, out, errors)
                             : DescribeBvhFile(file, out, errors);
}
