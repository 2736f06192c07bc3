#pragma once
#include <filesystem>
#include <string>

// Opening and removing a file by the wide name the user gave, the same on
// every system: UTF-8 bytes on Linux, UTF-16 on Windows.

// A write-only descriptor (not inherited by programs started later) of a file
// kept as it is: made when it is missing (created says so), else opened
// without cutting it, and refused (EINVAL) unless it is a regular file. Opened
// without blocking where the system has named pipes, so that one put there
// fails at once instead of waiting for a reader. -1 with errno set.
int OpenFileForWriting(const std::filesystem::path& path, bool& created);

// Empties a file opened for writing; 0, or the errno value of the failure.
int CutOpenFile(int file);

// A new folder of the calling user's own in the system's temporary folder,
// named prefix and a random part; empty when none could be made.
std::wstring MakeTemporaryFolder(const std::wstring& prefix);

// Removes a file; a missing one is no fault.
void RemoveFileQuietly(const std::filesystem::path& path);
