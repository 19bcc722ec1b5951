// mirelto-cli: the calculator's commands for scripts and terminals.
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"
#include "file_saving.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    mirelto::RemoveTemporariesOnSignals();
    const std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
    const int status = mirelto::cli::Run(words, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
