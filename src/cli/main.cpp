#include "cli/verbs.h"

#include <iostream>

int main(int argc, char** argv)
{
    return tw::cli::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
