// k52sim: a simulated K52 station on a pseudo-terminal. It prints the
// terminal's path and answers on it until SIGINT or SIGTERM.
#include "base/CException.h"
#include "base/TextConvert.h"
#include "station/CSimulatedStation.h"
#include "station/CStationLineUp.h"
#include "station/CStationPtyServer.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <pthread.h>
#include <string>
#include <system_error>

namespace {

constexpr const char* kUsage =
    "usage: k52sim [--modules LIST] [--link PATH] [--pace] [--attribute 0|1]\n"
    "  --modules LIST    modules by slot, for example \"0=K52HQ8,1=JK7W,3=KZ9W\"\n"
    "                    (default: a demo line-up)\n"
    "  --link PATH       also reach the terminal through a symbolic link at PATH\n"
    "  --pace            answer at the speed of a 9600-baud line\n"
    "  --attribute 0|1   station attribute word reported to the tool (default 1)\n";

int Usage(const std::string& problem) {
    std::cerr << "k52sim: " << problem << "\n" << kUsage;
    return 2;
}

// Removes the link at exit, unless something else has taken its place.
class LinkGuard {
public:
    LinkGuard(std::filesystem::path link, std::filesystem::path target)
        : m_link(std::move(link)), m_target(std::move(target)) {}
    ~LinkGuard() {
        std::error_code error;
        if (std::filesystem::is_symlink(m_link, error) &&
            std::filesystem::read_symlink(m_link, error) == m_target) {
            std::filesystem::remove(m_link, error);
        }
    }
    LinkGuard(const LinkGuard&) = delete;
    LinkGuard& operator=(const LinkGuard&) = delete;

private:
    std::filesystem::path m_link;
    std::filesystem::path m_target;
};

} // namespace

int main(int argc, char** argv) {
    std::optional<CStationLineUp> lineUp = CStationLineUp::Demo();
    std::string linkPath;
    bool pace = false;
    int attribute = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--modules" && hasValue) {
            std::wstring error;
            lineUp = CStationLineUp::Parse(FromUtf8(argv[++i]), error);
            if (!lineUp) {
                return Usage(ToUtf8(error));
            }
        } else if (arg == "--link" && hasValue) {
            linkPath = argv[++i];
        } else if (arg == "--pace") {
            pace = true;
        } else if (arg == "--attribute" && hasValue) {
            const std::string value = argv[++i];
            if (value != "0" && value != "1") {
                return Usage("the attribute is 0 or 1");
            }
            attribute = value == "1" ? 1 : 0;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else {
            return Usage("unknown or incomplete option '" + arg + "'");
        }
    }

    // The signals are taken by sigwait below; blocked before the server's
    // thread starts, so that thread inherits the mask and never takes them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    auto station = std::make_shared<CSimulatedStation>(*lineUp);
    station->SetPacing(pace);
    station->SetAttribute(attribute);
    CStationPtyServer server(station);
    try {
        server.Start();
    } catch (const std::exception& error) {
        std::cerr << "k52sim: " << ToUtf8(GetExceptionMessage(error)) << "\n";
        return 1;
    }

    std::optional<LinkGuard> linkGuard;
    if (!linkPath.empty()) {
        std::error_code error;
        const std::filesystem::path link(linkPath);
        // A link left behind by an earlier run is replaced; anything else is kept.
        if (std::filesystem::is_symlink(link, error)) {
            std::filesystem::remove(link, error);
        }
        std::filesystem::create_symlink(server.GetDevicePath(), link, error);
        if (error) {
            std::cerr << "k52sim: cannot create the link " << linkPath << ": " << error.message() << "\n";
            return 1;
        }
        linkGuard.emplace(link, server.GetDevicePath());
    }

    std::cout << server.GetDevicePath() << std::endl;

    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.Stop();
    return 0;
}
