#pragma once
#include <string>

class CComSettings;

// The link settings of a command's PORT argument: a device path, "sim:..."
// for the built-in simulated station, or a display name from the port list.
// False when it names no port.
bool ResolvePortArgument(const std::string& port, CComSettings& settings);
