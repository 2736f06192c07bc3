#pragma once
#include "catalog/tables/ModelTables.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// One module of the simulated station: every item the tool reads or writes,
// kept as the texts the module reports. Parameter items start from their
// table defaults and keep what is written to them; live items follow a clock
// (milliseconds, given by the station on every access) unless the module
// simulates, in which case they report the values written to them.
class CSimulatedModule {
public:
    enum class Access { Ok, NoSuchItem, Refused };

    // The model must be one the station line-up knows (CStationLineUp); the
    // slot is 0 for the communication module.
    CSimulatedModule(std::wstring model, int slot);

    // The parameter and channel tables a module of the model is built from.
    static const ModelTable& TableOf(const std::wstring& model);

    const std::wstring& GetModel() const { return m_model; }
    int GetSlot() const { return m_slot; }

    // The 16-point digital models, whose points the communication module can
    // also pass on (the read-through of page 2).
    bool IsDigital16() const { return m_digital16; }

    // True while the module's simulation switch is on.
    bool IsSimulating() const;

    // The reply text of an item, "WORD:value".
    Access Read(int page, int item, std::int64_t nowMs, std::wstring& reply) const;
    // The value part alone (what the tool takes after the colon).
    std::optional<std::wstring> GetValue(int page, int item, std::int64_t nowMs) const;
    Access Write(int page, int item, std::wstring_view text, std::int64_t nowMs);

    // Makes a live item report a fixed text whatever the module does, until
    // it is released with nothing; for live situations that are hard to
    // reach otherwise (a channel status, a value at the end of its range).
    void PinValue(int page, int item, std::optional<std::wstring> text);

private:
    enum class Role {
        Parameter, // a row of the model's table
        Control,   // item 1 of pages 0 and 1, and the read-through switch: "0" or "1"
        Select,    // the read-through's slot number
        Analog,    // main value of an analog channel
        Second,    // second value of an analog channel
        Status,    // channel status word
        Digital,   // one 16-bit word of digital points
        Counter,   // counter value
        DateTime   // the module clock
    };

    struct Item {
        Role role = Role::Parameter;
        std::wstring word;                        // command word of the reply text
        const ParameterDefinition* row = nullptr; // Parameter and DateTime items
        int channel = 0;                          // live items: channel index; Digital: point set
        int half = 0;                             // Digital: 0 low word, 1 high word
        std::wstring text;                        // stored value; live items: the simulated value
        std::optional<std::wstring> pinned;
    };

    using Key = std::pair<int, int>;

    void AddParameters();
    void AddChannels();
    void AddLive(int page, int item, Role role, int channel, int half = 0);
    std::wstring LiveValue(const Item& item, std::int64_t nowMs) const;
    std::wstring ValueOf(const Item& item, std::int64_t nowMs) const;

    std::wstring m_model;
    int m_slot;
    bool m_digital16 = false;
    std::map<Key, Item> m_items;
    // Simulated digital points by (point set, word): the same points appear
    // in both layouts of a 16-point module.
    std::map<Key, std::wstring> m_simulatedPoints;
    std::optional<Key> m_switch;    // the item of the simulation switch
    std::int64_t m_clockOffset = 0; // module clock in seconds = offset + station clock
};
