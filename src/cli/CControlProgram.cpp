#include "cli/CControlProgram.h"

#include "cli/PortArgument.h"

#include "base/CPrivateException.h"
#include "base/CResourceDatabase.h"
#include "base/CXmlReaderWriter.h"
#include "base/FilePath.h"
#include "base/RegularFile.h"
#include "base/SystemFile.h"
#include "base/TextConvert.h"
#include "cli/CDescriptorOutputBuffer.h"
#include "cli/CMonitorCommand.h"
#include "link/CComPortList.h"
#include "link/CJX5COMInterface.h"
#include "monitor/CLiveValueRecorder.h"
#include "rack/CCardSlot.h"
#include "rack/CCommissioningReport.h"
#include "rack/CDownloadThread.h"
#include "rack/CRackComparison.h"
#include "rack/CUploadThread.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <thread>
#include <unistd.h>

namespace {

// What an interrupt does while a step runs: cancel a worker, or wait for the
// end of a step that must not be cut off. Afterwards it ends the program again.
class InterruptAction {
public:
    InterruptAction(CInterruptWatcher& watcher, std::function<void()> action) : m_watcher(watcher) {
        m_watcher.SetAction(std::move(action));
    }
    ~InterruptAction() { m_watcher.SetAction(nullptr); }
    InterruptAction(const InterruptAction&) = delete;
    InterruptAction& operator=(const InterruptAction&) = delete;

private:
    CInterruptWatcher& m_watcher;
};

int Percent(const CProgressCounter& progress) {
    const std::int32_t total = progress.GetTotal();
    if (total <= 0) {
        return 0;
    }
    const double share = static_cast<double>(progress.GetCurrent()) / total;
    return share >= 1.0 ? 100 : static_cast<int>(share * 100.0);
}

// "Reading the station... module 3 of 7, item 12 of 40 (42%)": how far a
// transfer is, in the modules and items it goes through. The share counts one
// step for the start and one for each module, the one in hand by its items
// (the counter's own share, which the progress window shows, is full early on
// a station with empty slots).
std::string ProgressText(const std::string& text, const CProgressCounter& progress, bool done) {
    std::string line = text;
    int percent = done ? 100 : Percent(progress);
    const std::int32_t modules = progress.GetModuleCount();
    const std::int32_t module = std::min(progress.GetModule(), modules);
    if (module > 0) {
        // Until the module's model is known, so is not its number of items.
        const std::int32_t items = progress.GetItemCount();
        const std::int32_t item = std::min(progress.GetItem(), items);
        if (items > 0) {
            line +=
                ' ' + ToUtf8(CResourceManager::FormatMessage(Msg::progress_items, module, modules, item, items));
        }
        if (!done) {
            const double steps = module + (items > 0 ? static_cast<double>(item) / items : 0.0);
            percent = std::min(99, static_cast<int>(100.0 * steps / (modules + 1)));
        }
    }
    line += " (" + std::to_string(percent) + "%)";
    return line;
}

// One line on the terminal, drawn again in place when it changes.
class ProgressLine {
public:
    void Show(const std::string& line) {
        if (line == m_shown) {
            return;
        }
        // A shorter line covers what the longer one left.
        const std::size_t width = Width(line);
        std::cerr << '\r' << line << std::string(m_width > width ? m_width - width : 0, ' ') << std::flush;
        m_shown = line;
        m_width = width;
    }

private:
    // Columns, not bytes: a character is one column, the Japanese ones
    // (U+3000 to U+DFFF, three bytes led by E3 to ED) two.
    static std::size_t Width(const std::string& text) {
        std::size_t width = 0;
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            if ((byte & 0xC0) != 0x80) {
                width += byte >= 0xE3 && byte <= 0xED ? 2 : 1;
            }
        }
        return width;
    }

    std::string m_shown;
    std::size_t m_width = 0;
};

void ReportFailure(const std::exception& error) {
    ReportErrorText(GetExceptionMessage(error, 1025));
}

// What is odd in a hand-edited file goes to the error stream, so that the
// command's own output stays as it is for whoever reads it.
void PrintLoadWarnings(const std::string& file, const CCardSlot& rack) {
    const std::wstring warnings = rack.FormatLoadWarnings(DisplayPath(PathFromArgument(file)));
    if (!warnings.empty()) {
        std::cerr << "k52ctl: " << ToUtf8(warnings) << std::endl;
    }
}

// The language file as the database finds it: a bare name lies beside the program.
std::filesystem::path LanguagePath(const std::string& language) {
    std::filesystem::path path = PathFromArgument(language);
    if (path.has_parent_path()) {
        return path;
    }
    return PathFromText(GetModuleDirectory()) / path;
}

// A usage problem when a file the command writes is one it reads (the same
// file through any name: links, hard links, "./"), which the write would
// destroy; empty when there is none.
std::string OutputThatIsAnInput(const CCommandLine& line) {
    std::vector<std::pair<const char*, std::filesystem::path>> outputs;
    std::vector<std::pair<const char*, std::filesystem::path>> inputs{
        {"the language file", LanguagePath(line.GetLanguage())}};
    switch (line.GetCommand()) {
    case CCommandLine::Command::Upload:
        outputs.emplace_back("--output", PathFromArgument(line.GetOutput()));
        if (!line.GetBase().empty()) {
            inputs.emplace_back("--base", PathFromArgument(line.GetBase()));
        }
        break;
    case CCommandLine::Command::Report:
        outputs.emplace_back("--output", PathFromArgument(line.GetOutput()));
        inputs.emplace_back("the configuration file", PathFromArgument(line.GetFile()));
        if (!line.GetBefore().empty()) {
            inputs.emplace_back("--before", PathFromArgument(line.GetBefore()));
        }
        break;
    case CCommandLine::Command::Monitor:
        if (!line.GetCsv().empty()) {
            const std::filesystem::path csv = PathFromArgument(line.GetCsv());
            outputs.emplace_back("--csv", csv);
            // Its side file is written too, and must not be the recording itself.
            outputs.emplace_back("the side file of --csv", CLiveValueRecorder::InfoPathOf(csv));
        }
        break;
    default:
        break;
    }
    const auto clash = [](const auto& output, const auto& other, const char* what) {
        return std::string(output.first) + " \"" + ToUtf8(DisplayPath(output.second)) + "\" is the same file as " +
               other.first + " \"" + ToUtf8(DisplayPath(other.second)) + "\"; writing it would destroy " + what;
    };
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        for (const auto& input : inputs) {
            if (IsSameFile(outputs[i].second, input.second)) {
                return clash(outputs[i], input, "what is read");
            }
        }
        for (std::size_t j = i + 1; j < outputs.size(); ++j) {
            if (IsSameFile(outputs[i].second, outputs[j].second)) {
                return clash(outputs[j], outputs[i], "the other");
            }
        }
    }
    return {};
}

} // namespace

CControlProgram::CControlProgram(std::ostream& out)
    : m_out(out), m_showProgress(::isatty(STDERR_FILENO) == 1) {}

int CControlProgram::UsageError(const std::string& problem) {
    std::cerr << "k52ctl: " << problem << "\n" << CCommandLine::Usage();
    return kExitUsage;
}

int CControlProgram::Run(const std::vector<std::string>& arguments) {
    CCommandLine line;
    std::string problem;
    if (!line.Parse(arguments, problem)) {
        return UsageError(problem);
    }
    if (line.GetCommand() == CCommandLine::Command::Help) {
        m_out << CCommandLine::Usage();
        return FinishOutput(kExitSuccess);
    }
    // Refused before the station is read or anything is written.
    if (const std::string clash = OutputThatIsAnInput(line); !clash.empty()) {
        return UsageError(clash);
    }
    try {
        Database().Load(FromUtf8(line.GetLanguage()));
    } catch (const std::exception& error) {
        ReportFailure(error);
        return line.HasLanguage() ? kExitUsage : kExitFailure;
    }
    // For diff and verify, 1 says "different": output that did not arrive is trouble.
    const bool comparing =
        line.GetCommand() == CCommandLine::Command::Diff || line.GetCommand() == CCommandLine::Command::Verify;
    return FinishOutput(RunCommand(line, arguments), comparing ? kExitUsage : kExitFailure);
}

int CControlProgram::RunCommand(const CCommandLine& line, const std::vector<std::string>& arguments) {
    switch (line.GetCommand()) {
    case CCommandLine::Command::Ports:
        return Ports();
    case CCommandLine::Command::Upload:
        return Upload(line);
    case CCommandLine::Command::Download:
        return Download(line);
    case CCommandLine::Command::Show:
        return Show(line);
    case CCommandLine::Command::Monitor:
        return CMonitorCommand(m_out, m_interrupts).Run(arguments);
    case CCommandLine::Command::Demo:
        return Demo();
    case CCommandLine::Command::Diff:
        return Diff(line);
    case CCommandLine::Command::Verify:
        return Verify(line);
    case CCommandLine::Command::Report:
        return Report(line);
    default:
        return UsageError("no command given");
    }
}

int CControlProgram::FinishOutput(int status, int failureStatus) {
    m_out.flush();
    if (!m_out.fail()) {
        return status;
    }
    // Results that did not arrive are no success, whatever the command did.
    const auto* buffer = dynamic_cast<const CDescriptorOutputBuffer*>(m_out.rdbuf());
    const int error = buffer != nullptr && buffer->GetError() != 0 ? buffer->GetError() : EIO;
    ReportErrorText(FormatMessage(Msg::outputerr, CMessageFormatter::SystemErrorText(error)));
    return status == kExitSuccess || status == failureStatus || status == kExitFailure ? failureStatus : status;
}

int CControlProgram::Ports() {
    const CComPortList ports;
    for (int position = 0; position < ports.GetCount(); ++position) {
        m_out << ToUtf8(ports.GetDevicePath(position)) << '\t' << ToUtf8(ports.GetDisplayName(position))
              << '\n';
    }
    m_out.flush();
    return kExitSuccess;
}

CControlProgram::Outcome CControlProgram::RunThread(CProgressThreadInterface& thread) {
    InterruptAction onInterrupt(m_interrupts, [&thread] { thread.Cancel(); });
    if (m_interrupts.WasInterrupted()) {
        return Outcome::Cancelled;
    }
    thread.Start();
    const std::string text = ToUtf8(thread.GetProgressText());
    ProgressLine line;
    while (!thread.HasEnded()) {
        if (m_showProgress) {
            line.Show(ProgressText(text, thread.GetProgress(), false));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    thread.Wait();
    if (m_showProgress) {
        if (thread.Succeeded()) {
            line.Show(ProgressText(text, thread.GetProgress(), true));
        }
        std::cerr << std::endl;
    }
    if (thread.Succeeded() && !m_interrupts.WasInterrupted()) {
        return Outcome::Succeeded;
    }
    if (thread.IsCancelled() || m_interrupts.WasInterrupted()) {
        return Outcome::Cancelled;
    }
    return Outcome::Failed;
}

int CControlProgram::Upload(const CCommandLine& line) {
    return UploadTo(line.GetPort(), line.GetSlotMask(), line.GetOutput(), line.GetBase(), nullptr);
}

int CControlProgram::UploadTo(const std::string& port, std::uint64_t mask, const std::string& output,
                              const std::string& base, CCardSlot* uploaded) {
    CJX5COMInterface link;
    CComSettings settings = link.GetSettings();
    if (std::string problem; !ResolvePortArgument(port, settings, problem)) {
        return UsageError(problem);
    }
    settings.SetModuleSelectionMask(mask);
    link.SetSettings(settings);

    // The rack the window would hold: the slots not read keep what it had.
    CCardSlot rack;
    try {
        // An output that cannot be written is refused before the station is read.
        CXmlReaderWriter::CheckSaveTarget(PathFromArgument(output));
        if (base.empty()) {
            rack.Clear();
        } else {
            rack.LoadFromFile(PathFromArgument(base));
        }
    } catch (const std::exception& error) {
        ReportFailure(error);
        return kExitFailure;
    }

    Outcome outcome = Outcome::Failed;
    {
        // The thread reports a kept failure when it goes, at the end of this block.
        CUploadThread thread;
        thread.SetLink(link);
        outcome = RunThread(thread);
        if (outcome == Outcome::Succeeded) {
            rack.CopySlots(thread.GetRack(), mask);
        }
    }
    if (outcome != Outcome::Succeeded) {
        return outcome == Outcome::Cancelled ? kExitInterrupted : kExitFailure;
    }
    try {
        // A Ctrl-C now waits for the save: the file is then either the old
        // one or the new one, whole, and no temporary file is left.
        const InterruptAction deferred(m_interrupts, [] {});
        rack.SaveToFile(PathFromArgument(output));
    } catch (const std::exception& error) {
        ReportFailure(error);
        return kExitFailure;
    }
    if (uploaded != nullptr) {
        *uploaded = rack;
    }
    return kExitSuccess;
}

int CControlProgram::Download(const CCommandLine& line) {
    return DownloadFrom(line.GetPort(), line.GetSlotMask(), line.GetFile(), line.IsVerifying());
}

int CControlProgram::DownloadFrom(const std::string& port, std::uint64_t mask, const std::string& file,
                                  bool verify) {
    CJX5COMInterface link;
    CComSettings settings = link.GetSettings();
    if (std::string problem; !ResolvePortArgument(port, settings, problem)) {
        return UsageError(problem);
    }
    settings.SetModuleSelectionMask(mask);
    link.SetSettings(settings);

    CXmlReaderWriter document;
    CCardSlot rack;
    try {
        document.Load(PathFromArgument(file));
        rack.LoadDocument(document, false);
    } catch (const std::exception& error) {
        ReportFailure(error);
        return kExitFailure;
    }
    // Which copy of a slot or a value the file meant is unknown: what would
    // be written is a guess, and nobody has seen it.
    if (const CCardSlot::LoadWarning* ambiguity = rack.FindAmbiguity()) {
        ReportErrorText(FormatMessage(Msg::ambiguouserr, DisplayPath(PathFromArgument(file)), ambiguity->text));
        return kExitFailure;
    }
    Outcome outcome = Outcome::Failed;
    {
        CDownloadThread thread;
        thread.GetRack() = rack;
        thread.SetLink(link);
        outcome = RunThread(thread);
    }
    switch (outcome) {
    case Outcome::Succeeded:
        break;
    case Outcome::Cancelled:
        return kExitInterrupted;
    default:
        return kExitFailure;
    }
    if (!verify) {
        return kExitSuccess;
    }
    // What the station holds now, compared with what was to be written.
    CCardSlot station;
    if (const int status = ReadStation(port, mask, station); status != kExitSuccess) {
        // The download itself went well: whoever reads the failure must not
        // take it for a failed download.
        ReportErrorText(GetMessage(status == kExitInterrupted ? Msg::verifyreadcancel : Msg::verifyreaderr));
        return status == kExitUsage ? kExitFailure : status;
    }
    // Made for the station's attribute word: it decides how the 16-point
    // digital modules are made, in the file as at the station.
    CCardSlot expected(station.GetStationAttribute());
    try {
        expected.LoadDocument(document, true);
    } catch (const std::exception& error) {
        ReportFailure(error);
        return kExitFailure;
    }
    const CRackComparison comparison(expected, station, mask);
    if (comparison.IsEqual()) {
        return kExitSuccess;
    }
    PrintDifferences(comparison, expected);
    m_out.flush();
    ReportErrorText(FormatMessage(Msg::verifyerr, static_cast<int>(comparison.GetModuleDifferences().size() +
                                                                   comparison.GetValueDifferences().size())));
    return kExitFailure;
}

int CControlProgram::ReadStation(const std::string& port, std::uint64_t mask, CCardSlot& rack) {
    CJX5COMInterface link;
    CComSettings settings = link.GetSettings();
    if (std::string problem; !ResolvePortArgument(port, settings, problem)) {
        return UsageError(problem);
    }
    settings.SetModuleSelectionMask(mask);
    link.SetSettings(settings);
    Outcome outcome = Outcome::Failed;
    {
        // The very upload of the upload command, into memory only; a kept
        // failure is reported when the thread goes, at the end of this block.
        CUploadThread thread;
        thread.SetLink(link);
        outcome = RunThread(thread);
        if (outcome == Outcome::Succeeded) {
            rack = thread.GetRack();
        }
    }
    switch (outcome) {
    case Outcome::Succeeded:
        return kExitSuccess;
    case Outcome::Cancelled:
        return kExitInterrupted;
    default:
        return kExitFailure;
    }
}

void CControlProgram::PrintDifferences(const CRackComparison& comparison, const CCardSlot& rack) {
    const std::wstring absent = GetMessage(Msg::cmp_absent);
    auto side = [&](const std::wstring& text, bool present) { return ToUtf8(present ? text : absent); };
    auto print = [&](const CRackComparison::RowDifference& row) {
        m_out << ToUtf8(rack.GetSlotCaption(row.slotIndex)) << '\t' << ToUtf8(row.caption) << '\t'
              << side(row.leftText, row.leftRow >= 0) << '\t' << side(row.rightText, row.rightRow >= 0) << '\n';
    };
    for (int index = 0; index < CCardSlot::kSlotCount; ++index) {
        for (const CRackComparison::ModuleDifference& module : comparison.GetModuleDifferences()) {
            if (module.slotIndex == index) {
                m_out << ToUtf8(rack.GetSlotCaption(index)) << '\t' << ToUtf8(GetMessage(Msg::cmp_module))
                      << '\t' << side(module.leftModel, !module.leftModel.empty()) << '\t'
                      << side(module.rightModel, !module.rightModel.empty()) << '\n';
            }
        }
        for (const CRackComparison::RowDifference& row : comparison.GetValueDifferences()) {
            if (row.slotIndex == index) {
                print(row);
            }
        }
    }
    if (!comparison.GetUncountedDifferences().empty()) {
        m_out << '\n' << ToUtf8(GetMessage(Msg::cmp_uncounted)) << ":\n";
        for (const CRackComparison::RowDifference& row : comparison.GetUncountedDifferences()) {
            print(row);
        }
        m_out << '\n';
    }
    if (comparison.IsEqual()) {
        m_out << ToUtf8(GetMessage(Msg::cmp_equal)) << '\n';
    } else {
        m_out << ToUtf8(FormatMessage(Msg::cmp_counts,
                                      static_cast<int>(comparison.GetModuleDifferences().size()),
                                      static_cast<int>(comparison.GetValueDifferences().size())))
              << '\n';
    }
}

int CControlProgram::Diff(const CCommandLine& line) {
    const std::vector<std::string>& files = line.GetFiles();
    CCardSlot first;
    CCardSlot second;
    try {
        first.LoadForComparison(PathFromArgument(files[0]));
        second.LoadForComparison(PathFromArgument(files[1]));
    } catch (const std::exception& error) {
        ReportFailure(error);
        return kExitUsage;
    }
    PrintLoadWarnings(files[0], first);
    PrintLoadWarnings(files[1], second);
    const CRackComparison comparison(first, second, line.GetSlotMask());
    PrintDifferences(comparison, first);
    return comparison.IsEqual() ? kExitSuccess : kExitFailure;
}

int CControlProgram::Verify(const CCommandLine& line) {
    CXmlReaderWriter document;
    CCardSlot file;
    const auto loadFile = [&] {
        try {
            file.LoadDocument(document, true);
            return true;
        } catch (const std::exception& error) {
            ReportFailure(error);
            return false;
        }
    };
    // A file that cannot be read is refused before the long read of the station.
    try {
        document.Load(PathFromArgument(line.GetFile()));
    } catch (const std::exception& error) {
        ReportFailure(error);
        return kExitUsage;
    }
    if (!loadFile()) {
        return kExitUsage;
    }
    PrintLoadWarnings(line.GetFile(), file);
    CCardSlot station;
    if (const int status = ReadStation(line.GetPort(), line.GetSlotMask(), station); status != kExitSuccess) {
        // 1 says "different"; a station that could not be read is not.
        return status == kExitFailure ? kExitUsage : status;
    }
    // The station's attribute word decides how the 16-point digital modules
    // are made, in the file as at the station.
    if (station.GetStationAttribute() != file.GetStationAttribute()) {
        file.SetStationAttribute(station.GetStationAttribute());
        if (!loadFile()) {
            return kExitUsage;
        }
    }
    const CRackComparison comparison(file, station, line.GetSlotMask());
    PrintDifferences(comparison, file);
    return comparison.IsEqual() ? kExitSuccess : kExitFailure;
}

int CControlProgram::Report(const CCommandLine& line) {
    const std::filesystem::path output = PathFromArgument(line.GetOutput());
    CCardSlot rack;
    CCardSlot asFound;
    try {
        // An output that cannot be written is refused before anything else.
        CheckReplaceableFile(output);
        rack.LoadForComparison(PathFromArgument(line.GetFile()));
        if (!line.GetBefore().empty()) {
            asFound.LoadForComparison(PathFromArgument(line.GetBefore()));
        }
    } catch (const std::exception& error) {
        ReportFailure(error);
        return kExitFailure;
    }
    PrintLoadWarnings(line.GetFile(), rack);
    if (!line.GetBefore().empty()) {
        PrintLoadWarnings(line.GetBefore(), asFound);
    }
    CCommissioningReport report(rack);
    CCommissioningReport::Facts facts;
    facts.title = FromUtf8(line.GetTitle());
    // The names only: a report goes to the customer, the folders of this computer do not.
    facts.configuration = DisplayPath(PathFromArgument(line.GetFile()).filename());
    if (!line.GetBefore().empty()) {
        report.SetAsFound(asFound);
        facts.asFoundSource = DisplayPath(PathFromArgument(line.GetBefore()).filename());
    }
    try {
        const std::string page = report.MakeHtml(facts);
        // A Ctrl-C now waits for the file: it is then the old one or the new one, whole.
        const InterruptAction deferred(m_interrupts, [] {});
        ReplaceRegularFile(output, page);
    } catch (const std::exception& error) {
        ReportFailure(error);
        return kExitFailure;
    }
    return kExitSuccess;
}

void CControlProgram::PrintSlot(const CCardSlot& rack, int slotIndex, int maxRows) {
    const CCardSlot::CardHandle card = rack.GetCard(slotIndex);
    m_out << ToUtf8(rack.GetSlotCaption(slotIndex)) << '\t'
          << (card ? ToUtf8(card->GetCardName().GetModelName()) : std::string("-")) << '\n';
    if (!card) {
        return;
    }
    int printed = 0;
    int hidden = 0;
    for (int row = 0; row < card->GetParameterCount(); ++row) {
        const ParameterDefinition& definition = card->GetParameter(row);
        // As the parameter list of the main window: one-shot commands are not shown.
        if ((definition.flags & FlagOnDemand) != 0) {
            continue;
        }
        if (maxRows >= 0 && printed >= maxRows) {
            ++hidden;
            continue;
        }
        const std::string caption = ToUtf8(TextOr([&] { return card->GetCaption(row); }));
        if (definition.kind == KindGroup) {
            m_out << '\t' << caption << '\n';
        } else {
            m_out << "\t\t" << caption << '\t' << ToUtf8(card->GetDisplayText(row)) << '\n';
        }
        ++printed;
    }
    if (hidden > 0) {
        m_out << "\t\t(" << hidden << " more lines)\n";
    }
}

int CControlProgram::Show(const CCommandLine& line) {
    CCardSlot rack;
    try {
        // The file as it stands, module information too, as diff and report read it.
        rack.LoadForComparison(PathFromArgument(line.GetFile()));
        PrintLoadWarnings(line.GetFile(), rack);
        if (line.GetShownSlot()) {
            PrintSlot(rack, *line.GetShownSlot(), -1);
        } else {
            for (int index = 0; index < CCardSlot::kSlotCount; ++index) {
                PrintSlot(rack, index, -1);
            }
        }
    } catch (const std::exception& error) {
        m_out.flush();
        ReportFailure(error);
        return kExitFailure;
    }
    m_out.flush();
    return kExitSuccess;
}

int CControlProgram::Demo() {
    const std::string port = "sim:";
    std::error_code ignored;
    std::wstring folder;
    {
        // The folder is the demo's own: a demo that does not end well, or is
        // interrupted at any moment, takes it away again. Until the watcher
        // knows it, an interrupt waits.
        const InterruptAction deferred(m_interrupts, [] {});
        folder = MakeTemporaryFolder(L"k52ctl-demo.");
        if (!folder.empty()) {
            m_interrupts.RemoveOnInterrupt(folder);
        }
    }
    if (folder.empty()) {
        ReportFailure(std::runtime_error("cannot create a folder for the demo's file"));
        return kExitFailure;
    }
    const std::string file = ToUtf8(folder) + "/station.cfg";
    const int status = m_interrupts.WasInterrupted() ? kExitInterrupted : DemoIn(port, file);
    m_interrupts.RemoveOnInterrupt({});
    if (status != kExitSuccess) {
        std::filesystem::remove_all(folder, ignored);
    }
    return status;
}

int CControlProgram::DemoIn(const std::string& port, const std::string& file) {
    std::error_code ignored;
    m_out << "K52CFG command-line companion: a short session with the built-in simulated station.\n\n"
          << "1. Reading every slot of the station at '" << port << "':\n"
          << "   k52ctl upload --port " << port << " --output " << file << "\n"
          << std::flush;
    CCardSlot rack;
    if (const int status = UploadTo(port, CCardSlot::kAllSlots, file, {}, &rack); status != kExitSuccess) {
        return status;
    }
    int modules = 0;
    int firstModule = -1;
    for (int index = 1; index < CCardSlot::kSlotCount; ++index) {
        if (rack.HasCard(index) && rack.GetCard(index)->GetTypeCode() != 0) {
            ++modules;
            firstModule = firstModule < 0 ? index : firstModule;
        }
    }
    m_out << "   The station holds " << ToUtf8(rack.GetCard(0)->GetCardName().GetModelName()) << " and "
          << modules << " I/O modules:\n";
    for (int index = 0; index < CCardSlot::kSlotCount; ++index) {
        const CCardSlot::CardHandle card = rack.GetCard(index);
        if (card && (index == 0 || card->GetTypeCode() != 0)) {
            m_out << "     " << ToUtf8(rack.GetSlotCaption(index)) << "  "
                  << ToUtf8(TextOr([&] { return card->GetCardName().GetLongName(); })) << '\n';
        }
    }
    m_out << "   Saved to " << file << " (" << std::filesystem::file_size(file, ignored) << " bytes).\n\n";

    if (firstModule > 0) {
        m_out << "2. The first parameters of slot " << ToUtf8(rack.GetSlotCaption(firstModule))
              << ", as the parameter list shows them:\n"
              << "   k52ctl show " << file << " --slot " << firstModule << "\n";
        PrintSlot(rack, firstModule, 12);
        m_out << '\n';
    }

    m_out << "3. Checking the station against the file and writing it back:\n"
          << "   k52ctl download --port " << port << " " << file << "\n"
          << std::flush;
    if (const int status = DownloadFrom(port, CCardSlot::kAllSlots, file); status != kExitSuccess) {
        return status;
    }
    m_out << "   The station holds the file's modules; all slots were written.\n\n"
          << "The file stays at " << file << " for you to look at.\n"
          << "'k52ctl --help' lists every command; 'k52ctl ports' the serial ports of this computer.\n"
          << std::flush;
    return kExitSuccess;
}
