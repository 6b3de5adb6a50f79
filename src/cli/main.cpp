#include "cli/CliApplication.h"

int main(int argc, char** argv) {
    return brimlo::cli::RunCli(argc, argv);
}
