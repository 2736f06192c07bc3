#pragma once
#include <string>

class CComPortList;
class CComSettings;

// The link settings of a command's PORT argument: a display name from the
// port list (asked first, as a name may hold a "/": "USB/RS485 converter
// (A1)"), "sim:..." for the built-in simulated station with a line-up that
// must make sense, or a device path, absolute or relative to the working
// folder. False, with the reason for the user, when it names no port.
bool ResolvePortArgument(const std::string& port, const CComPortList& ports, CComSettings& settings,
                         std::string& problem);
// The same against this computer's port list.
bool ResolvePortArgument(const std::string& port, CComSettings& settings, std::string& problem);
