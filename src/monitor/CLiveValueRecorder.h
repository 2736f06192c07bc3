#pragma once
#include "base/CResourceManager.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

class CCardSlot;
class CComSettings;

// Records the monitor's live values to a CSV file: after every good cycle
// one row per channel, written to the file at once, so that a crash loses at
// most the cycle in progress. The columns:
//
//   time,slot,model,channel,value,raw,status,simulating
//
// time is the cycle's end in local time, ISO 8601 with milliseconds; slot is
// the slot number (0 the communication module); channel counts from 1; value
// and raw are the texts the monitor shows: the scaled value, and the raw
// value where the module reports one, else the value's register word without
// decimals (a digital channel: its points as hexadecimal, point 1 in bit 0,
// and the same pattern as a decimal number);
// status is the channel's status code where it has one; simulating is yes or
// no. Numbers are never written with a locale's decimal comma.
//
// A comment line would be read as a data row by CSV readers, so what the
// recording is (port, program, start) goes to a side file, FILE.info.
//
// A failed write (disk full, file-size limit) cuts the file back to its
// whole rows, closes it and stops the recording; the caller goes on
// monitoring.
class CLiveValueRecorder : protected CResourceManager {
public:
    struct Source {
        std::wstring port;    // the port as the user knows it
        std::wstring program; // the program and its version

        // The port's path, and the name the user chose it by; this program.
        static Source Of(const CComSettings& settings);
    };

    CLiveValueRecorder();
    ~CLiveValueRecorder() override;
    CLiveValueRecorder(const CLiveValueRecorder&) = delete;
    CLiveValueRecorder& operator=(const CLiveValueRecorder&) = delete;

    // Creates the file (replacing a regular file of that name), writes the
    // header row and the side file. Both names are checked before either is
    // touched (a folder, FIFO, device or read-only file at either is refused,
    // naming it). Raises CPrivateException ("recordstarterr") and leaves no
    // recording on failure; only a file made by this call is removed again.
    void Start(const std::filesystem::path& path, const Source& source,
               std::chrono::system_clock::time_point now);
    // Appends the rows of one good cycle. Raises CPrivateException
    // ("recordstoperr") when they cannot be written; the recording has
    // stopped then.
    void AppendCycle(const CCardSlot& rack, std::chrono::system_clock::time_point when);
    // Closes the file; everything appended is in it.
    void Stop();

    bool IsRecording() const { return m_file >= 0; }
    const std::filesystem::path& GetPath() const { return m_path; }
    std::chrono::system_clock::time_point GetStartTime() const { return m_started; }
    std::uint64_t GetRowCount() const { return m_rows; }
    std::uint64_t GetByteCount() const { return m_bytes; }

    static std::filesystem::path InfoPathOf(const std::filesystem::path& path);
    static const char* HeaderRow();
    // The rows of one cycle, as they are written; rows receives their number.
    static std::string FormatRows(const CCardSlot& rack, std::chrono::system_clock::time_point when,
                                  std::uint64_t& rows);
    // Local time as 2026-12-09T14:05:09.042.
    static std::string FormatLocalTime(std::chrono::system_clock::time_point when);

private:
    void Close();

    int m_file = -1;
    std::filesystem::path m_path;
    std::chrono::system_clock::time_point m_started{};
    std::uint64_t m_rows = 0;
    std::uint64_t m_bytes = 0;
};
