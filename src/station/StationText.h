#pragma once
#include "catalog/ParameterDefinition.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How a simulated module writes and reads the texts of its parameter items.
// Numbers are handled in exact decimal arithmetic: a module that rounded
// "12.34" to 12.339999 would report a value nobody wrote.

// The text a fresh module reports for a row: its default value in the form
// the tool reads it back (decimals shown, addresses dotted, lists as numbers).
// `slot` makes the few texts that differ between modules (MAC address) unique.
std::wstring DefaultItemText(const ParameterDefinition& row, int slot);

// The text the module keeps when `text` is written to the row, or nothing
// when the module turns it down (wrong form, out of range, read-only row).
std::optional<std::wstring> AcceptItemText(const ParameterDefinition& row, std::wstring_view text);

// "12.34" with 2 decimals gives 1234; further digits are cut toward zero.
// False for anything but an optional minus, digits, and an optional point
// followed by digits, or for a result beyond 64 bits.
bool ParseDecimalText(std::wstring_view text, int decimals, std::int64_t& scaled);

// An integer in base 10 (optional minus) or 16 (hex digits only); false for
// anything else or for a value beyond 40 bits, which no item holds.
bool ParseIntegerText(std::wstring_view text, int radix, std::int64_t& value);

// Four decimal numbers 0 to 255 joined by dots.
bool ParseIpText(std::wstring_view text, std::uint32_t& address);

// 1234 with 2 decimals gives "12.34"; -5 gives "-0.05".
std::wstring FormatDecimal(std::int64_t scaled, int decimals);

// The module clock's text, "YYYY/MM/DD hh:mm:ss", for seconds counted from
// 1970-01-01 00:00:00 of the station's own (local) time.
std::wstring FormatStationDateTime(std::int64_t seconds);

// Reads the clock text as the tool writes it (fields of one or more digits,
// years 2001 to 2099); nothing for a malformed or impossible date.
std::optional<std::int64_t> ParseStationDateTime(std::wstring_view text);
