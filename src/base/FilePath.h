#pragma once
#include <filesystem>
#include <string>
#include <string_view>

// File names are the system's own: bytes on Linux, kept exactly as given
// (a name need not be UTF-8), UTF-16 on Windows. The core carries them as
// std::filesystem::path from where they come in to the system calls; these
// helpers are the one place that knows how each system spells them.

// A command-line argument naming a file: its bytes as given. (Windows: the
// argument arrives as UTF-8 and becomes the wide name.)
std::filesystem::path PathFromArgument(const std::string& argument);

// A name held as wide text, as a window gives it: UTF-8 on Linux, which is how
// Qt encodes file names there; the wide name itself on Windows.
std::filesystem::path PathFromText(std::wstring_view text);

// The readable form of a name, for messages: on Linux the name decoded as
// UTF-8, each byte that is not part of a valid sequence shown as \xFE, so
// that two names that differ stay different on the screen.
std::wstring DisplayPath(const std::filesystem::path& path);

// Whether both names lead to one file (same device and inode on Linux, through
// links and hard links). False when either does not exist.
bool IsSameFile(const std::filesystem::path& first, const std::filesystem::path& second);
