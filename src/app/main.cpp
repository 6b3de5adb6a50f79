#include "shell/ProgramStartup.h"

int main(int argc, char** argv) {
    return brimlo::RunProgram(argc, argv);
}
