#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The arguments of every k52ctl command, read and checked before anything
// is done: a command, options in any order before or after it (each at most
// once, each with a value but the few switches), and for some commands one
// or two files.
class CCommandLine {
public:
    enum class Command { None, Help, Ports, Upload, Download, Show, Monitor, Demo, Diff, Verify, Report };

    // False with a reason in error when the arguments do not make a valid call.
    bool Parse(const std::vector<std::string>& arguments, std::string& error);

    Command GetCommand() const { return m_command; }
    const std::string& GetPort() const { return m_port; }
    std::uint64_t GetSlotMask() const { return m_slotMask; }
    const std::string& GetOutput() const { return m_output; }
    const std::string& GetBase() const { return m_base; }
    // The first file, and every file in the order given.
    const std::string& GetFile() const { return m_file; }
    const std::vector<std::string>& GetFiles() const { return m_files; }
    // `report`: the rack as found, and the report's title (empty: the language's own).
    const std::string& GetBefore() const { return m_before; }
    const std::string& GetTitle() const { return m_title; }
    // `download --verify`: read the written slots back and compare them.
    bool IsVerifying() const { return m_verify; }
    const std::string& GetLanguage() const { return m_language; }
    bool HasLanguage() const { return m_hasLanguage; }
    // The one slot index `show` is limited to, if any.
    std::optional<int> GetShownSlot() const { return m_shownSlot; }
    // How many readings `monitor` makes; 0 until Ctrl-C.
    std::uint64_t GetCycles() const { return m_cycles; }
    // The file `monitor` records to; empty for none.
    const std::string& GetCsv() const { return m_csv; }

    // "all", or slot numbers and ranges such as "0,1,3-5", as a selection
    // mask (bit i for slot i). False for anything else, including numbers
    // outside 0 to 16 and ranges that run backwards.
    static bool ParseSlots(const std::string& text, std::uint64_t& mask);

    static const char* Usage();

private:
    Command m_command = Command::None;
    std::string m_port;
    std::uint64_t m_slotMask = 0;
    std::string m_output;
    std::string m_base;
    std::string m_file;
    std::vector<std::string> m_files;
    std::string m_before;
    std::string m_title;
    bool m_verify = false;
    std::string m_language = "English.lng";
    bool m_hasLanguage = false;
    std::optional<int> m_shownSlot;
    std::uint64_t m_cycles = 1;
    std::string m_csv;
};
