#include "cli/PortArgument.h"

#include "base/TextConvert.h"
#include "link/CComPortList.h"
#include "link/CComSettings.h"

bool ResolvePortArgument(const std::string& port, CComSettings& settings) {
    const std::wstring wide = FromUtf8(port);
    if (wide.rfind(CComPortList::kDemoStationPath, 0) == 0 || wide.find(L'/') != std::wstring::npos) {
        settings.SetDevicePath(wide);
        settings.SetDisplayName(wide);
        return true;
    }
    const CComPortList ports;
    for (int position = 0; position < ports.GetCount(); ++position) {
        if (ports.GetDisplayName(position) == wide) {
            settings.SetDevicePath(ports.GetDevicePath(position));
            settings.SetDisplayName(wide);
            return true;
        }
    }
    return false;
}
