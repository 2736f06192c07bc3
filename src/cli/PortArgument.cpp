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
    if (wide.find(L'/') != std::wstring::npos) {
        // The serial line opens absolute paths only, so that a name never
        // opens some file of the working folder by chance; a path the user
        // gives as relative is meant so.
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(port), error);
        if (error) {
            problem = "the path '" + port + "' cannot be made absolute: " + error.message();
            return false;
        }
        return use(FromUtf8(absolute.lexically_normal().string()));
    }
    problem = "no port '" + port + "'; 'k52ctl ports' lists the ports, and a device is given by its path " +
              "(/dev/ttyUSB0, ./k52)";
    return false;
}

bool ResolvePortArgument(const std::string& port, CComSettings& settings, std::string& problem) {
    return ResolvePortArgument(port, CComPortList(), settings, problem);
}
