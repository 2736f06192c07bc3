#include "monitor/CLiveValueRecorder.h"

#include "base/CException.h"
#include "base/CMessageFormatter.h"
#include "base/CPrivateException.h"
#include "base/CXmlReaderWriter.h"
#include "base/FilePath.h"
#include "base/FileSizeSignal.h"
#include "base/LocalTime.h"
#include "base/SystemFile.h"
#include "base/TextConvert.h"
#include "base/Version.h"
#include "catalog/CCardInterface.h"
#include "catalog/CMonitorUnit.h"
#include "catalog/ValueText.h"
#include "link/CComSettings.h"
#include "monitor/CSimulationWatch.h"
#include "rack/CCardSlot.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <exception>
#include <unistd.h>

namespace {

// Writes all bytes; 0 or the errno of the failure.
int WriteAll(int file, const std::string& bytes) {
    const FileSizeSignalIgnored fileSizeSignal;
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(file, data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return ENOSPC;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return 0;
}

// One CSV field: quoted only when it holds a separator, a quote or a line break.
void AppendField(std::string& row, const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        row += field;
        return;
    }
    row += '"';
    for (const char c : field) {
        row += c;
        if (c == '"') {
            row += '"';
        }
    }
    row += '"';
}

std::string Hex(std::uint32_t bits, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, bits);
    return text;
}

// The value texts of an analog or counter channel, one per line: the
// scaled value first, the module's raw value second where it reports one.
// Without one, the raw value is the value's own register word, as a whole
// number without the decimals.
void SplitValues(const CCardInterface& card, int channel, const CMonitorUnit& unit, std::string& value,
                 std::string& raw) {
    const std::wstring& values = unit.values;
    const std::size_t lineBreak = values.find(L'\n');
    value = ToUtf8(values.substr(0, lineBreak));
    if (lineBreak != std::wstring::npos) {
        const std::size_t next = values.find(L'\n', lineBreak + 1);
        raw = ToUtf8(values.substr(lineBreak + 1, next == std::wstring::npos ? next : next - lineBreak - 1));
        return;
    }
    const ChannelDefinition& row = card.GetChannelRow(channel);
    if (unit.kind == CMonitorUnit::KindCounter) {
        raw = std::to_string(card.GetDword(row.valuePage, row.valueItem));
    } else {
        raw = ToUtf8(FormatNumber(card.GetWord(row.valuePage, row.valueItem), card.GetChannelSignFlag(channel, 0), 0,
                                  10, KindDecimal16));
    }
}

// The text of an errno for a message.
std::wstring Reason(int error) {
    return CMessageFormatter::SystemErrorText(error);
}

// One file of the recording while it starts: removed again when the start
// fails, but only when this start made it.
class StartingFile {
public:
    explicit StartingFile(std::filesystem::path path) : m_path(std::move(path)) {}
    ~StartingFile() {
        if (m_file >= 0) {
            ::close(m_file);
        }
        if (m_created && !m_kept) {
            RemoveFileQuietly(m_path);
        }
    }
    StartingFile(const StartingFile&) = delete;
    StartingFile& operator=(const StartingFile&) = delete;

    bool Open() {
        m_file = OpenFileForWriting(m_path, m_created);
        return m_file >= 0;
    }
    int fd() const { return m_file; }
    const std::filesystem::path& path() const { return m_path; }
    // The file stays; its descriptor goes to the caller.
    int Keep() {
        m_kept = true;
        const int file = m_file;
        m_file = -1;
        return file;
    }
    int Close() {
        const int result = ::close(m_file);
        m_file = -1;
        return result;
    }

private:
    std::filesystem::path m_path;
    int m_file = -1;
    bool m_created = false;
    bool m_kept = false;
};

} // namespace

CLiveValueRecorder::Source CLiveValueRecorder::Source::Of(const CComSettings& settings) {
    const std::wstring& path = settings.GetDevicePath();
    const std::wstring& name = settings.GetDisplayName();
    return {name.empty() || name == path ? path : path + L" (" + name + L")", GetVersionCaption()};
}

CLiveValueRecorder::CLiveValueRecorder() = default;

CLiveValueRecorder::~CLiveValueRecorder() {
    Close();
}

std::filesystem::path CLiveValueRecorder::InfoPathOf(const std::filesystem::path& path) {
    std::filesystem::path info = path;
    info += ".info";
    return info;
}

const char* CLiveValueRecorder::HeaderRow() {
    return "time,slot,model,channel,value,raw,status,simulating\n";
}

std::string CLiveValueRecorder::FormatLocalTime(std::chrono::system_clock::time_point when) {
    const auto since = when.time_since_epoch();
    const auto seconds = std::chrono::floor<std::chrono::seconds>(since);
    const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(since - seconds).count();
    const auto whole = static_cast<std::time_t>(seconds.count());
    std::tm local{};
    if (!ToLocalTime(whole, local)) {
        return {};
    }
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(milliseconds));
    return text;
}

std::string CLiveValueRecorder::FormatRows(const CCardSlot& rack, std::chrono::system_clock::time_point when,
                                           std::uint64_t& rows) {
    rows = 0;
    std::string text;
    const std::string time = FormatLocalTime(when);
    for (int index = 0; index < CCardSlot::kSlotCount; ++index) {
        const auto card = rack.GetCard(index);
        // A module not read in this cycle has no values: its defaults would
        // pass for readings.
        if (!card || !card->HasLiveValues() ||
            (card->GetTypeCode() == 0 && CCardSlot::IsIoSlotNumber(CCardSlot::GetSlotNumber(index)))) {
            continue;
        }
        const std::string slot = std::to_string(CCardSlot::GetSlotNumber(index));
        const std::string model = ToUtf8(card->GetCardName().GetModelName());
        const char* simulating = CSimulationWatch::IsSimulating(*card) ? "yes" : "no";
        for (int channel = 0; channel < card->GetChannelCount(); ++channel) {
            CMonitorUnit unit;
            card->FillMonitorUnit(channel, unit);
            std::string value;
            std::string raw;
            std::string status;
            switch (unit.kind) {
            case CMonitorUnit::KindAnalog:
            case CMonitorUnit::KindCounter:
                SplitValues(*card, channel, unit, value, raw);
                status = std::to_string(unit.status);
                break;
            case CMonitorUnit::KindDigital:
                value = Hex(unit.bits, unit.pointCount > 16 ? 8 : 4);
                raw = std::to_string(unit.bits);
                break;
            case CMonitorUnit::KindDateTime:
                value = ToUtf8(unit.values);
                break;
            default:
                continue; // the simulation switch is the simulating column
            }
            std::string row;
            AppendField(row, time);
            row += ',';
            AppendField(row, slot);
            row += ',';
            AppendField(row, model);
            row += ',';
            row += std::to_string(channel + 1);
            row += ',';
            AppendField(row, value);
            row += ',';
            AppendField(row, raw);
            row += ',';
            row += status;
            row += ',';
            row += simulating;
            row += '\n';
            text += row;
            ++rows;
        }
    }
    return text;
}

void CLiveValueRecorder::Start(const std::filesystem::path& path, const Source& source,
                               std::chrono::system_clock::time_point now) {
    Close();
    const auto fail = [&](const std::filesystem::path& culprit, int error) {
        throw CPrivateException(FailureKind::File,
                                FormatMessage(Msg::recordstarterr, L"\"" + DisplayPath(culprit) + L"\": " + Reason(error)));
    };
    StartingFile csv(path);
    StartingFile side(InfoPathOf(path));
    try {
        // Both are checked before either is touched: only regular files the
        // user may change are replaced, and a message names the one at fault.
        CXmlReaderWriter::CheckSaveTarget(csv.path());
        CXmlReaderWriter::CheckSaveTarget(side.path());
    } catch (const std::exception& error) {
        throw CPrivateException(GetFailureKind(error),
                                FormatMessage(Msg::recordstarterr, GetExceptionMessage(error)));
    }
    // Two names of one file (a hard link) would write the one over the other.
    if (IsSameFile(csv.path(), side.path())) {
        fail(side.path(), EEXIST);
    }
    if (!side.Open()) {
        fail(side.path(), errno);
    }
    if (!csv.Open()) {
        fail(csv.path(), errno);
    }
    // Only now, with both open, is anything the files held replaced.
    if (const int error = CutOpenFile(csv.fd()); error != 0) {
        fail(csv.path(), error);
    }
    if (const int error = CutOpenFile(side.fd()); error != 0) {
        fail(side.path(), error);
    }
    const std::string header = HeaderRow();
    if (const int error = WriteAll(csv.fd(), header); error != 0) {
        fail(csv.path(), error);
    }

    const std::string offset = UtcOffsetText(std::chrono::system_clock::to_time_t(now), ":");
    const std::string info =
        "K52CFG live-value recording\n"
        "file: " + ToUtf8(DisplayPath(path)) + "\n"
        "program: " + ToUtf8(source.program) + "\n"
        "port: " + ToUtf8(source.port) + "\n"
        "started: " + FormatLocalTime(now) + " (local time, UTC" + offset + ")\n"
        "columns: time (local, ISO 8601 with milliseconds), slot (0 = communication module), model, "
        "channel (from 1), value (as the monitor shows it), raw, status, simulating (yes/no)\n";
    if (const int error = WriteAll(side.fd(), info); error != 0) {
        fail(side.path(), error);
    }
    if (side.Close() != 0) {
        fail(side.path(), errno);
    }
    side.Keep();
    m_file = csv.Keep();
    m_path = path;
    m_started = now;
    m_rows = 0;
    m_bytes = header.size();
}

void CLiveValueRecorder::AppendCycle(const CCardSlot& rack, std::chrono::system_clock::time_point when) {
    if (m_file < 0) {
        return;
    }
    std::uint64_t rows = 0;
    const std::string text = FormatRows(rack, when, rows);
    if (text.empty()) {
        return;
    }
    const int error = WriteAll(m_file, text);
    if (error == 0) {
        m_rows += rows;
        m_bytes += text.size();
        return;
    }
    // A row cut short would be read as a row; the file keeps the whole ones.
    if (::ftruncate(m_file, static_cast<off_t>(m_bytes)) != 0) {
        // Nothing more can be done for the file; the message below stands.
    }
    Close();
    throw CPrivateException(FailureKind::File, FormatMessage(Msg::recordstoperr, DisplayPath(m_path), Reason(error)));
}

void CLiveValueRecorder::Stop() {
    Close();
}

void CLiveValueRecorder::Close() {
    if (m_file >= 0) {
        ::close(m_file);
        m_file = -1;
    }
}
