#pragma once
#include <array>
#include <string>
#include <vector>

class CCardInterface;
class CCardSlot;

// Which modules of the station simulate, as far as the monitor knows: a
// module whose simulation switch was read on. A simulating module shows
// forced values instead of its real ones, so the knowledge is kept while the
// station does not answer: only a reading of the module changes it, and only
// a slot found empty forgets it.
class CSimulationWatch {
public:
    struct Module {
        int slotIndex = 0;
        std::wstring caption; // "IO01"
        std::wstring model;   // "JK7W"
    };

    // True when the card's latest reading has its simulation switch on; the
    // monitor list's type cell says "Simulating" for exactly these cards.
    static bool IsSimulating(const CCardInterface& card);

    // Takes the readings of one good cycle.
    void Update(const CCardSlot& rack);
    // Forgets everything (a new station).
    void Clear();

    // In slot order.
    std::vector<Module> GetModules() const;
    bool Any() const;
    // "IO01 JK7W, IO03 KZ9W", for the user.
    std::wstring Describe() const;
    static std::wstring Describe(const std::vector<Module>& modules);

private:
    static constexpr int kSlots = 17;
    std::array<bool, kSlots> m_simulating{};
    std::array<Module, kSlots> m_modules{};
};
