#pragma once
#include <filesystem>
#include <string>
#include <string_view>

// Reading and replacing the files the user names (configuration, language
// and report files) without harm: only regular files are read or written,
// a file is replaced whole or not at all, and every failure is raised as
// CPrivateException with the path and the system's reason. Names reach the
// system exactly as given (see FilePath.h).

// The whole content of a regular file of at most 16 MiB. Anything else (a
// folder, a FIFO, a device) is refused before a byte is read; a FIFO or a
// device is not even opened.
std::string ReadRegularFile(const std::filesystem::path& path);

// Raises what ReplaceRegularFile would refuse the path for, before anything
// is written: a folder, FIFO, device or socket, a read-only file, a loop of
// links. For callers that should refuse a path before long work, not after it.
void CheckReplaceableFile(const std::filesystem::path& path);

// Writes the bytes beside the target and renames them over it, so that a
// failed write leaves an existing file as it was and no temporary file
// behind. A symbolic link is followed and the file it names replaced, the
// link kept; a replaced file keeps its permissions.
void ReplaceRegularFile(const std::filesystem::path& path, std::string_view bytes);
