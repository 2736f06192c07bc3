// k52ctl: the command-line companion of K52CFG for scripted backup, restore
// and commissioning; no windows needed.
#include "cli/CControlProgram.h"
#include "station/CSimulatedStationPort.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    RegisterSimulatedStationPort();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    CControlProgram program(std::cout);
    return program.Run(arguments);
}
