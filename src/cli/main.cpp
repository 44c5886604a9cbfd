#include "cli/verbs.h"

#include <csignal>
#include <iostream>

int main(int argc, char** argv)
{
    // A write beyond the file-size limit then fails with EFBIG and is
    // reported, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    return tw::cli::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
