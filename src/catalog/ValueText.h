#pragma once
#include "base/MessageKeys.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The text forms of stored parameter values: formatting a stored integer,
// reading typed or received texts back, and the unit table. The card applies
// them row by row (CCardInterface); nothing here knows about cards or
// language files except the unit keys.

// Number text of a stored integer. mode is a value kind: Unsigned32 and
// KindNone take the value as an unsigned 32-bit number; every other mode keeps
// only the low 16 bits of an unsigned value (except Signed32, which is always
// 32 bits). decimals > 0 prints value / 10^decimals with that many digits;
// otherwise radix 10 prints decimal, radix 16 upper-case hexadecimal, and any
// other radix gives the empty text.
std::wstring FormatNumber(std::int32_t value, std::int32_t isSigned, std::int32_t decimals,
                          std::int32_t radix, std::int32_t mode);

// "a.b.c.d" with the first octet in the top byte.
std::wstring FormatIpAddress(std::uint32_t value);

// "on"/"off" for bits 0 to 3, joined by ",".
std::wstring FormatSwitches4(std::int32_t value);

// A typed decimal number as a stored integer with the given decimals. The
// number is nudged by 0.00001 away from zero before the fraction is cut off,
// so 1.23 is 123 and not 122. Numbers beyond 32 bits saturate, so that the
// range check reports them. Empty when the text is not one complete number.
std::optional<std::int32_t> ParseDecimalText(std::wstring_view text, std::int32_t decimals);

// A typed integer in the given radix (0: C-style prefix decides) with 32-bit
// semantics: signed texts must fit a signed 32-bit number; unsigned texts may
// carry a sign and wrap as an unsigned 32-bit number does. Empty when the
// text is not one complete number or does not fit.
std::optional<std::int32_t> ParseIntegerText(std::wstring_view text, std::int32_t radix, bool isSigned);

// A typed number for an Unsigned32 row, read as a real number and cut toward
// zero to 64 bits (the range check then decides). Empty when malformed.
std::optional<std::int64_t> ParseUnsigned32Text(std::wstring_view text);

// Four decimal numbers 0 to 255 separated by dots, nothing else.
std::optional<std::uint32_t> ParseIpAddressText(std::wstring_view text);

// Login names and passwords: at most 16 characters, ASCII letters and digits.
bool IsValidLoginText(std::wstring_view text);

// "YYYY/MM/DD hh:mm:ss" (digits may be single): nullptr when valid, else the
// message key of the first part found wrong.
const PlainMessageKey* CheckDateTimeText(std::wstring_view text);

// A MAC address of twelve characters as six pairs joined by "-"; any other
// text (the default "-", a text the module already formatted) unchanged.
std::wstring FormatMacText(const std::wstring& text);

// Message key of a unit code's text, nullptr for no unit (codes outside 0 to 7).
const PlainMessageKey* UnitTextKey(std::int32_t unitCode);
