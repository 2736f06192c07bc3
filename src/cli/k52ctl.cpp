// k52ctl: the command-line companion of K52CFG for scripted backup, restore
// and commissioning; no windows needed.
#include "cli/CControlProgram.h"
#include "cli/CDescriptorOutputBuffer.h"
#include "station/CSimulatedStationPort.h"

#include <csignal>
#include <cstdio>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

#ifdef _WIN32
#include "base/TextConvert.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

namespace {

// The arguments as UTF-8 whatever the system's code page: a file name in
// Japanese arrives whole, as on Linux.
std::vector<std::string> WideArguments() {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    for (int i = 1; wide != nullptr && i < count; ++i) {
        arguments.push_back(ToUtf8(wide[i]));
    }
    ::LocalFree(wide);
    return arguments;
}

} // namespace
#endif

int main([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
#ifdef _WIN32
    // Every text goes out as UTF-8, and the console shows it as such; the
    // lines end as on Linux, so that scripts read the same output on both.
    ::SetConsoleOutputCP(CP_UTF8);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    const std::vector<std::string> arguments = WideArguments();
#else
    // A reader that went away, or a file-size limit, must come back as a
    // failed write that the program reports, not end it without a word.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
#endif
    RegisterSimulatedStationPort();
    CDescriptorOutputBuffer output(STDOUT_FILENO);
    std::ostream out(&output);
    CControlProgram program(out);
    return program.Run(arguments);
}
