#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>

// Which module model stands in each of the seventeen slots of a simulated
// station: slot 0 the communication module, slots 1 to 16 the I/O modules
// (an empty name is an empty slot).
class CStationLineUp {
public:
    static constexpr int kSlotCount = 17;

    // A communication module of the default model and sixteen empty slots.
    CStationLineUp();

    // The line-up a station gets when nothing is chosen: a few modules of
    // different kinds, so that every part of the tool has something to show.
    static CStationLineUp Demo();

    // Reads "0=K52HQ8,1=JK7W,3=KZ9W": slot number, '=', model name, separated
    // by commas. Slot 0 keeps the default communication module when it is not
    // named. Returns nothing and sets error when the text names an unknown
    // model, a model in the wrong kind of slot, a slot twice or outside 0 to 16.
    static std::optional<CStationLineUp> Parse(std::wstring_view text, std::wstring& error);

    // The model names the station knows, by kind of slot.
    static bool IsCommunicationModel(std::wstring_view name);
    static bool IsIoModel(std::wstring_view name);

    const std::wstring& GetModel(int slot) const;
    void SetModel(int slot, std::wstring name);

    // The text Parse reads back into the same line-up.
    std::wstring ToText() const;

    bool operator==(const CStationLineUp&) const = default;

private:
    std::array<std::wstring, kSlotCount> m_models;
};
