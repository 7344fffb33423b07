// `varnel info FILE`: what a BVH motion file or an actor file holds.
#include "tools/cli/commands.h"
#include "tools/info/file_description.h"

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
