#include "cli/PortArgument.h"

#include "base/TextConvert.h"
#include "link/CComPortList.h"
#include "link/CComSettings.h"
#include "station/CStationLineUp.h"

#include <filesystem>
#include <string_view>
#include <system_error>

bool ResolvePortArgument(const std::string& port, const CComPortList& ports, CComSettings& settings,
                         std::string& problem) {
    const std::wstring wide = FromUtf8(port);
    const auto use = [&](const std::wstring& path) {
        settings.SetDevicePath(path);
        settings.SetDisplayName(wide);
        return true;
    };
    for (int position = 0; position < ports.GetCount(); ++position) {
        if (ports.GetDisplayName(position) == wide) {
            return use(ports.GetDevicePath(position));
        }
    }
    const std::wstring_view prefix = CComPortList::kDemoStationPath;
    if (wide.rfind(prefix, 0) == 0) {
        // A line-up that makes no station would later read as an unplugged adapter.
        const std::wstring_view modules = std::wstring_view(wide).substr(prefix.size());
        std::wstring error;
        if (!modules.empty() && !CStationLineUp::Parse(modules, error)) {
            problem = "the simulated station '" + port + "' cannot be made: " + ToUtf8(error);
            return false;
        }
        return use(wide);
    }
#ifdef _WIN32
    // A name in the device namespace (\\.\COM42) is no file path: taken as it is.
    if (wide.starts_with(L"\\\\.\\")) {
        return use(wide);
    }
    const bool isPath = wide.find_first_of(L"\\/") != std::wstring::npos;
    const char* const examples = "(\\\\.\\COM42)";
#else
    const bool isPath = wide.find(L'/') != std::wstring::npos;
    const char* const examples = "(/dev/ttyUSB0, ./k52)";
#endif
    if (isPath) {
        // The serial line opens absolute paths only, so that a name never
        // opens some file of the working folder by chance; a path the user
        // gives as relative is meant so.
        std::error_code error;
#ifdef _WIN32
        const std::filesystem::path given(wide); // the system's paths are UTF-16 there
#else
        const std::filesystem::path given(port);
#endif
        const std::filesystem::path absolute = std::filesystem::absolute(given, error);
        if (error) {
            problem = "the path '" + port + "' cannot be made absolute: " + error.message();
            return false;
        }
#ifdef _WIN32
        return use(absolute.lexically_normal().wstring());
#else
        return use(FromUtf8(absolute.lexically_normal().string()));
#endif
    }
    problem = "no port '" + port + "'; 'k52ctl ports' lists the ports, and a device is given by its path " +
              examples;
    return false;
}

bool ResolvePortArgument(const std::string& port, CComSettings& settings, std::string& problem) {
    return ResolvePortArgument(port, CComPortList(), settings, problem);
}
