#pragma once
#include <string>

// "K52CFG Version 1.17.75": product name and version of this build.
std::wstring GetVersionCaption();
