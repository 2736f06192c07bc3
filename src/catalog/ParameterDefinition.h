#pragma once
#include <cstdint>

// Value kinds of a parameter row.
enum ParameterKind : std::int32_t {
    KindGroup = 0,        // heading row that opens a group; no storage
    KindText = 1,         // held in one of the card's text slots
    KindList = 2,         // 16-bit, an option of a language list
    KindSigned32 = 3,     // 32-bit signed
    KindUnsigned32 = 4,   // 32-bit unsigned
    KindDecimal16 = 5,    // 16-bit number with decimals
    KindInteger16 = 6,    // 16-bit number written without decimals
    KindIpAddress = 7,    // 32-bit IPv4 address, first octet in the top byte
    KindWord32 = 8,       // 32-bit raw
    KindNone = 9,         // never stored or transferred
    KindSwitches4 = 10,   // 16-bit, four on/off bits
    KindDecimal16Raw = 11 // 16-bit with decimals, read back without scaling
};

// Flag bits of a parameter row.
enum ParameterFlag : std::int32_t {
    FlagReadOnly = 1,      // module information: never written, not taken from a file
    FlagAdjustment = 2,    // adjustment set: adjust-only upload, on-demand download
    FlagAdjustContext = 8, // read by an adjust-only upload, not written on demand
    FlagOnDemand = 16      // one-shot command value: not in files, written only when asked for
};

// One row of a model's parameter table; fields in the order of the
// documented record layout.
struct ParameterDefinition {
    std::int32_t kind;
    const wchar_t* textKey; // caption key in the model's language section
    std::int32_t page;      // 0 to 9
    std::int32_t item;      // 0 to 99
    std::int32_t minimum;
    std::int32_t maximum;   // read as unsigned on Unsigned32 rows (-1 is 4294967295)
    std::int32_t defaultValue;
    std::int32_t radix;     // 10 or 16 when decimals is 0; 0 where unused
    std::int32_t decimals;
    std::int32_t isSigned;
    const wchar_t* fileKey; // on List rows: the option list's key
    std::int32_t unitCode;  // -1 none, else 0 to 7
    std::int32_t flags;
    std::int32_t reserved;
    std::int32_t textSlot;  // Text rows: card text slot 0 to 11
};

// Text rows that hold a password (text slots 7 and 9). Their value is shown
// as a fixed mask, never in clear: not its characters, nor how many there are.
bool IsPasswordRow(const ParameterDefinition& definition);
inline constexpr const wchar_t* kPasswordMask = L"********";

// Channel kinds of the live-value table.
enum ChannelKind : std::int32_t {
    ChannelAnalog = 0,
    ChannelDigital = 1,
    ChannelSwitch = 2, // simulation switch
    ChannelCounter = 3,
    ChannelDateTime = 4
};

// One live value of a model, eighteen fields in the documented order. Fields
// 8, 11, 14 and 17 (a third value) are 0 in every table, as are 2 to 5.
struct ChannelDefinition {
    std::int32_t channelKind;    // 1
    std::int32_t reserved2;      // 2
    std::int32_t reserved3;      // 3
    std::int32_t reserved4;      // 4
    std::int32_t reserved5;      // 5
    std::int32_t valuePage;      // 6
    std::int32_t secondPage;     // 7
    std::int32_t thirdPage;      // 8
    std::int32_t valueItem;      // 9
    std::int32_t secondItem;     // 10
    std::int32_t thirdItem;      // 11
    std::int32_t valueDecimals;  // 12 (digital rows: number of points)
    std::int32_t secondDecimals; // 13
    std::int32_t thirdDecimals;  // 14
    std::int32_t valueUnit;      // 15
    std::int32_t secondUnit;     // 16
    std::int32_t thirdUnit;      // 17
    std::int32_t statusItem;     // 18

    // Field by its number 1 to 18; 0 for any other number.
    std::int32_t Field(int number) const;
};
