#pragma once
#include <string>

// Opening and removing a file by the wide name the user gave, the same on
// every system: UTF-8 bytes on Linux, UTF-16 on Windows.

// A write-only descriptor of a file made new or emptied (not inherited by
// programs started later); -1 with errno set when that fails.
int CreateFileForWriting(const std::wstring& path);

// A new folder of the calling user's own in the system's temporary folder,
// named prefix and a random part; empty when none could be made.
std::wstring MakeTemporaryFolder(const std::wstring& prefix);

// Removes a file; a missing one is no fault.
void RemoveFileQuietly(const std::wstring& path);
