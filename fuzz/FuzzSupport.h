#pragma once
#include "catalog/StationAttribute.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

class CCardInterface;

// Helpers shared by the fuzz targets.
namespace k52fuzz {

// Loads English.lng from the program's directory into the application's
// database, as the tool does at start-up; stops the run when it cannot.
void LoadEnglish();

// A directory of this process's own for files a target writes, removed when
// the process ends. Placed in memory (/dev/shm) where that is available.
const std::filesystem::path& ScratchDirectory();

void WriteBytes(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size);
std::string ReadBytes(const std::filesystem::path& path);

// A new card of one row of the model registry, the unknown models included,
// chosen by an input byte: the I/O rows by code from -1, then the
// communication rows.
std::unique_ptr<CCardInterface> CardOfModel(std::uint32_t choice, StationAttribute attribute = StationAttribute());

// Reports a wrong result and aborts, so that the fuzzer keeps the input.
[[noreturn]] void Finding(const std::string& what);

// Bytes as text, one character per byte (as the link decodes them).
std::wstring Latin1(const std::uint8_t* data, std::size_t size);

// Printable form of a text for a finding's report.
std::string Printable(const std::wstring& text);

} // namespace k52fuzz
