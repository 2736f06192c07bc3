#pragma once
#include <string>

// The system's own words for a Windows error code (GetLastError), without
// the line break Windows ends them with; "error N" when it has none.
std::wstring Win32ErrorText(unsigned long error);
