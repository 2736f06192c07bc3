// k52ctl: the command-line companion of K52CFG for scripted backup, restore
// and commissioning; no windows needed.
#include "cli/CControlProgram.h"
#include "cli/CDescriptorOutputBuffer.h"
#include "station/CSimulatedStationPort.h"

#include <csignal>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    // A reader that went away, or a file-size limit, must come back as a
    // failed write that the program reports, not end it without a word.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    RegisterSimulatedStationPort();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    CDescriptorOutputBuffer output(STDOUT_FILENO);
    std::ostream out(&output);
    CControlProgram program(out);
    return program.Run(arguments);
}
