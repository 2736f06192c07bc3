#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// One typed argument of a message. Texts from language files are outside
// input, so an insert is always filled from a value whose type is known here:
// a mismatch between insert and argument yields text, never undefined behaviour.
class FormatArg {
public:
    enum class Type { Signed, Unsigned, Real, Text };

    FormatArg(int value) : m_type(Type::Signed), m_signed(value) {}
    FormatArg(long value) : m_type(Type::Signed), m_signed(value) {}
    FormatArg(long long value) : m_type(Type::Signed), m_signed(value) {}
    FormatArg(unsigned value) : m_type(Type::Unsigned), m_unsigned(value) {}
    FormatArg(unsigned long value) : m_type(Type::Unsigned), m_unsigned(value) {}
    FormatArg(unsigned long long value) : m_type(Type::Unsigned), m_unsigned(value) {}
    FormatArg(double value) : m_type(Type::Real), m_real(value) {}
    FormatArg(const wchar_t* text) : m_type(Type::Text), m_text(text != nullptr ? text : L"") {}
    FormatArg(std::wstring text) : m_type(Type::Text), m_text(std::move(text)) {}
    FormatArg(std::wstring_view text) : m_type(Type::Text), m_text(text) {}

    Type GetType() const { return m_type; }
    std::int64_t AsSigned() const;
    std::uint64_t AsUnsigned() const;
    double AsReal() const;
    std::wstring AsText() const;

private:
    Type m_type;
    std::int64_t m_signed = 0;
    std::uint64_t m_unsigned = 0;
    double m_real = 0.0;
    std::wstring m_text;
};

// The project's message formatter.
//
// Printf: printf-style inserts (%d %i %u %x %X %o %c %s %f %e %g %%, flags,
// width, precision, the length modifiers h hh l ll I64 L). As on the platform
// the system was first written for, "%d" and "%ld" are 32 bits wide and
// "%lld"/"%I64d" 64 bits. "%n" is a line break, never a write.
//
// Numbered: "%1" to "%99", optionally with a printf conversion between
// exclamation marks ("%1!s!", "%2!d!", "%3!04X!"), "%n" a line break,
// "%t" a tab, "%%" a percent sign.
//
// In both styles an insert without argument, or one that cannot be read, is
// copied as it stands.
class CMessageFormatter {
public:
    static std::wstring Printf(std::wstring_view format, std::span<const FormatArg> args);
    static std::wstring Numbered(std::wstring_view format, std::span<const FormatArg> args);

    template <class... Args>
    static std::wstring Printf(std::wstring_view format, const Args&... args) {
        const std::array<FormatArg, sizeof...(Args)> list{FormatArg(args)...};
        return Printf(format, std::span<const FormatArg>(list.data(), list.size()));
    }

    template <class... Args>
    static std::wstring Numbered(std::wstring_view format, const Args&... args) {
        const std::array<FormatArg, sizeof...(Args)> list{FormatArg(args)...};
        return Numbered(format, std::span<const FormatArg>(list.data(), list.size()));
    }

    // The operating system's text for an error number (errno).
    static std::wstring SystemErrorText(int errorNumber);
};
