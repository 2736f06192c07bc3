#pragma once
#include "catalog/StationAttribute.h"
#include "catalog/tables/ModelTables.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

class CCardInterface;

// The one list of module models. Each model is one constant row: which
// registry knows it, its code and name there, its table, how its card is
// made, and the traits by which the rest of the program treats it
// differently from other models. The two registries (CIOCardType,
// CCOMCardType), the model menus, the monitor, the transfers, the simulated
// station and the tests all read these rows; nothing else names a model by
// its code.

// The I/O slots 1 to 16 and the communication slot 0 each have a registry of
// their own; a code means a model only together with its registry.
enum class CardRegistry { Io, Com };

// The 16-point digital modules, and which of their two point sets the
// monitor shows.
enum class Digital16 { None, Inputs, Outputs };

// The simulation panel an analog or counter module gets in the monitor.
enum class SimulationPanel { FourChannels, TwoChannels, EightChannels };

struct ModelTraits {
    // A 16-point digital module. While the station attribute word is 0 the
    // station cannot address it directly: its card is then the generic
    // digital card (CCardDIO), its points are read through the communication
    // module, and a download leaves it alone.
    Digital16 digital16 = Digital16::None;
    SimulationPanel panel = SimulationPanel::FourChannels;
    // The communication module's clock is read by every monitoring cycle.
    bool clockRow = false;
    // Item 1 of page 1 frames a batch of writes. The network gateway models
    // have no such frame; their downloads and simulation writes leave it alone.
    bool pageOneWriteFrame = true;
    // Rows whose text key starts with this are written through the link's
    // read-then-write (a counter's span), so that a failure says the value
    // was not written. Null: no such rows.
    const wchar_t* readThenWriteKey = nullptr;
};

using CardMaker = std::unique_ptr<CCardInterface> (*)(std::int32_t code);

struct ModelRow {
    CardRegistry registry;
    // -1 the unknown model, 0 the empty I/O slot, then the models; within a
    // registry the codes from 0 run without a gap (the model menu's order).
    std::int32_t code;
    // As the station reports it, the configuration file stores it and the
    // language file names its section.
    const wchar_t* name;
    // Null for the two rows that stand for no module: the unknown model and
    // the empty slot.
    const ModelTable& (*table)();
    CardMaker make;
    ModelTraits traits;
};

// Every row, the I/O registry's first; each registry's rows in the order its
// look-ups search them.
std::span<const ModelRow> AllModelRows();
std::span<const ModelRow> ModelRows(CardRegistry registry);

// The row of a code, or the registry's unknown model for a code it does not
// know.
const ModelRow& FindModel(CardRegistry registry, std::int32_t code);
// The first row with exactly this name, or null.
const ModelRow* FindModelByName(CardRegistry registry, std::wstring_view name);

// Slots 1 to 16 are the I/O registry's, every other number the
// communication registry's.
CardRegistry RegistryOfSlot(std::int32_t slotNumber);
// The row of the card with this code in this slot.
const ModelRow& ModelInSlot(std::int32_t slotNumber, std::int32_t code);

// The number of models a registry offers in the model menu: codes 0 to n-1.
int MenuModelCount(CardRegistry registry);

// True for a row that stands for a module a station can hold.
inline bool IsModule(const ModelRow& row) {
    return row.table != nullptr;
}

// How many simulation values the monitor sends for the model: one per
// channel of its panel, never fewer than four.
int SimulationValueCount(const ModelRow& row);

// A new card of the row's model, named after it. The class of a 16-point
// digital model follows the station attribute of the rack it is made for.
std::unique_ptr<CCardInterface> MakeModelCard(const ModelRow& row, StationAttribute attribute);
