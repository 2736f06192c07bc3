#pragma once
#include <string>

// Where the running program and its user's settings live, as the system
// tells: the few path questions whose answer differs between Linux and Windows.

// The full path of the running program's file; empty when the system cannot tell.
std::wstring GetProgramFilePath();

// The folder for the user's own settings of this tool: on Windows the user's
// application-data folder with a "K52CFG" folder in it (made when missing),
// elsewhere empty (the settings store picks its own place there).
std::wstring GetUserSettingsFolder();
