#include "catalog/ModelRegistry.h"

#include "catalog/CCardHZKJ8.h"
#include "catalog/CRangeResetCard.h"
#include "catalog/CTableCard.h"
#include "catalog/CTemperatureInputCard.h"
#include "catalog/CUniversalInputCard.h"

#include <algorithm>

namespace {

template <class Card>
std::unique_ptr<CCardInterface> Make(std::int32_t code) {
    return std::make_unique<Card>(code);
}

constexpr CardRegistry Io = CardRegistry::Io;
constexpr CardRegistry Com = CardRegistry::Com;

constexpr ModelTraits kDigitalInputs{.digital16 = Digital16::Inputs};
constexpr ModelTraits kDigitalOutputs{.digital16 = Digital16::Outputs};
constexpr ModelTraits kTwoChannels{.panel = SimulationPanel::TwoChannels};
constexpr ModelTraits kCounter{.panel = SimulationPanel::TwoChannels, .readThenWriteKey = L"upCount"};
constexpr ModelTraits kNetworkGateway{.panel = SimulationPanel::EightChannels, .pageOneWriteFrame = false};
constexpr ModelTraits kClock{.clockRow = true};

// Each registry's rows in the order its look-ups search them: the unknown
// model first, so that a name or code found twice means the first.
//
// A new model is a row here with the next code of its registry, its table in
// tables/ and its section in every language file. A model whose card only
// chooses its table may name CTableCard<TableXxx> as its card.
// clang-format off
constexpr ModelRow kModels[] = {
    // registry, code, name, table, card, traits
    {Io,   -1, L"unknown",  nullptr,      Make<CCardUnknown>,  {}},
    {Io,    0, L"null",     nullptr,      Make<CCardNULL>,     {}},
    {Io,    1, L"BJ58W",    TableHB58,    Make<CCardHB58>,     kDigitalInputs},
    {Io,    2, L"QJ58W",    TableHK58,    Make<CCardHK58>,     kDigitalOutputs},
    {Io,    3, L"KZ7W",     TableKZ7W,    Make<CCardKZ7W>,     {}},
    {Io,    4, L"KZ9W",     TableKZ9W,    Make<CCardKZ9W>,     kTwoChannels},
    {Io,    5, L"QZ7W",     TableQZ7W,    Make<CCardQZ7W>,     {}},
    {Io,    6, L"QH7W",     TableQH7W,    Make<CCardQH7W>,     {}},
    {Io,    7, L"JK7W",     TableJK7W,    Make<CCardJK7W>,     {}},
    {Io,    8, L"JK9W",     TableJK9W,    Make<CCardJK9W>,     kTwoChannels},
    {Io,    9, L"ZQ7W",     TableZQ7W,    Make<CCardZQ7W>,     {}},
    {Io,   10, L"BQ7W",     TableBQ7W,    Make<CCardBQ7W>,     {}},
    {Io,   11, L"HJ7W",     TableHJ7W,    Make<CCardHJ7W>,     {}},
    {Io,   12, L"KB7HW",    TableKB7HW,   Make<CCardKB7HW>,    {}},
    {Io,   13, L"JZB7W",    TableJZB7W,   Make<CCardJZB7W>,    {}},
    {Io,   14, L"QB9W",     TableQB9W,    Make<CCardQB9W>,     kCounter},
    {Io,   15, L"ZKH7JW",   TableZKH7JW,  Make<CCardZKH7JW>,   {}},
    {Io,   16, L"BJWQ8W",   TableBJWQ8W,  Make<CCardBJWQ8W>,   kNetworkGateway},
    {Io,   17, L"BHQB8W",   TableBHQB8W,  Make<CCardBHQB8W>,   kNetworkGateway},
    {Io,   18, L"BZKJ8W",   TableBZKJ8W,  Make<CCardBZKJ8W>,   kNetworkGateway},
    {Com,  -1, L"unknown",  nullptr,      Make<CCardUnknown>,  {}},
    {Com,   0, L"K52HQBZ8", TableHQBZ8,   Make<CCardHQBZ8>,    {}},
    {Com,   1, L"QZ52",     TableQZ52,    Make<CCardQZ52>,     {}},
    {Com,   2, L"WB52",     TableWB52,    Make<CCardWB52>,     {}},
    {Com,   3, L"K52HQ8",   TableHQ8,     Make<CCardHQ8>,      {}},
    {Com,   4, L"K52HJWQ8", TableHJWQ8,   Make<CCardHJWQ8>,    {}},
    {Com,   5, L"K52HZKJ8", TableHZKJ8,   Make<CCardHZKJ8>,    kClock},
    {Com,   6, L"K52HJWB8", TableHJWB8,   Make<CCardHJWB8>,    {}},
};
// clang-format on

} // namespace

std::span<const ModelRow> AllModelRows() {
    return kModels;
}

std::span<const ModelRow> ModelRows(CardRegistry registry) {
    const std::span<const ModelRow> all = AllModelRows();
    const auto first = std::find_if(all.begin(), all.end(),
                                    [registry](const ModelRow& row) { return row.registry == registry; });
    const auto last =
        std::find_if(first, all.end(), [registry](const ModelRow& row) { return row.registry != registry; });
    return {first, last};
}

const ModelRow& FindModel(CardRegistry registry, std::int32_t code) {
    const std::span<const ModelRow> rows = ModelRows(registry);
    for (const ModelRow& row : rows) {
        if (row.code == code) {
            return row;
        }
    }
    // The unknown model comes first in every registry.
    return rows.front();
}

const ModelRow* FindModelByName(CardRegistry registry, std::wstring_view name) {
    for (const ModelRow& row : ModelRows(registry)) {
        if (name == row.name) {
            return &row;
        }
    }
    return nullptr;
}

CardRegistry RegistryOfSlot(std::int32_t slotNumber) {
    return slotNumber >= 1 && slotNumber <= 16 ? CardRegistry::Io : CardRegistry::Com;
}

const ModelRow& ModelInSlot(std::int32_t slotNumber, std::int32_t code) {
    return FindModel(RegistryOfSlot(slotNumber), code);
}

int MenuModelCount(CardRegistry registry) {
    const std::span<const ModelRow> rows = ModelRows(registry);
    return static_cast<int>(
        std::count_if(rows.begin(), rows.end(), [](const ModelRow& row) { return row.code >= 0; }));
}

int SimulationValueCount(const ModelRow& row) {
    return row.traits.panel == SimulationPanel::EightChannels ? 8 : 4;
}

std::unique_ptr<CCardInterface> MakeModelCard(const ModelRow& row, StationAttribute attribute) {
    const bool generic = row.traits.digital16 != Digital16::None && !attribute.AddressesDigital16();
    std::unique_ptr<CCardInterface> card = generic ? Make<CCardDIO>(row.code) : row.make(row.code);
    card->SetMadeFor(attribute);
    card->SetSectionName(row.name);
    card->SetCardName(CCardName(row.name));
    return card;
}
