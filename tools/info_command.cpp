// `varnel info FILE`: what a BVH motion file or an actor file holds.
#include "actor_file_tool.h"
#include "bvh_file_tool.h"
#include "commands.h"

#include <iostream>
#include <memory>

void AddInfoCommand(CLI::App& app, int& exitStatus)
{
    auto path = std::make_shared<std::string>();
    CLI::App* command =
        app.add_subcommand("info", "Describe a BVH motion file or an actor file (.vnl)");
    command->add_option("FILE", *path, "The file to describe")->required();
    command->callback([path, &exitStatus] {
        exitStatus = IsActorFile(*path) ? DescribeActorFile(*path, std::cout, std::cerr)
                                        : DescribeBvhFile(*path, std::cout, std::cerr);
    });
}
