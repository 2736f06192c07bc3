#pragma once
#include <cstdint>
#include <string>

// Splits a reply text of the form "COMMAND:value" and converts its value.
// Every conversion raises CPrivateException with a fixed English text.
class CGICommandParser {
public:
    CGICommandParser() = default;
    explicit CGICommandParser(const std::wstring& text);
    virtual ~CGICommandParser();

    // The text before the first colon is the command (empty without a colon);
    // everything after it is the value (the whole text without a colon).
    CGICommandParser& Parse(const std::wstring& text);

    const std::wstring& GetCommand() const { return m_command; }
    const std::wstring& GetValue() const { return m_value; }

    // Base 16, optional sign and "0x"; too large gives 0xFFFFFFFF.
    // Raises "gi hex value error".
    std::uint32_t GetHexValue() const;
    // Base 10, optional sign (a minus negates modulo 2^32); too large gives
    // 0xFFFFFFFF. Raises "gi dec value error".
    std::uint32_t GetDecValue() const;
    // The decimal number times 10^power, truncated toward zero and held to the
    // 32-bit range. Raises "gi decp value error".
    std::int32_t GetScaledValue(std::int32_t power) const;
    // -1 when the value begins with '-' (the device had no value), else as
    // GetDecValue. Raises "gi dec value error".
    std::int64_t GetOptionalDecValue() const;

private:
    std::wstring m_command;
    std::wstring m_value;
};
