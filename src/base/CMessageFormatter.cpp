#include "base/CMessageFormatter.h"

#include "base/TextConvert.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <limits>
#include <clocale>
#include <locale.h> // NOLINT(modernize-deprecated-headers): uselocale and newlocale are POSIX only

namespace {

// Widths and precisions beyond this are refused as malformed, so a hostile
// text cannot ask for a gigabyte of padding.
constexpr int kMaxFieldSize = 512;

enum class Length { Default, Char, Short, Long, LongLong, LongDouble };

struct InsertFormat {
    std::string flags;
    int width = -1;
    int precision = -1;
    Length length = Length::Default;
    wchar_t conversion = 0;
};

bool IsFlag(wchar_t c) {
    return c == L'-' || c == L'+' || c == L' ' || c == L'#' || c == L'0';
}

bool IsConversion(wchar_t c) {
    return std::wcschr(L"diouxXcCsSfFeEgGaAn", c) != nullptr && c != 0;
}

// Reads one insert starting after the '%'. Returns the
// index after it, or npos when the text there is not an insert we take.
std::size_t ParseInsert(std::wstring_view format, std::size_t i, InsertFormat& insert) {
    const std::size_t n = format.size();
    while (i < n && IsFlag(format[i])) {
        insert.flags.push_back(static_cast<char>(format[i]));
        ++i;
    }
    if (i < n && format[i] >= L'0' && format[i] <= L'9') {
        int width = 0;
        while (i < n && format[i] >= L'0' && format[i] <= L'9') {
            width = width * 10 + (format[i] - L'0');
            if (width > kMaxFieldSize) {
                return std::wstring_view::npos;
            }
            ++i;
        }
        insert.width = width;
    }
    if (i < n && format[i] == L'.') {
        ++i;
        int precision = 0;
        while (i < n && format[i] >= L'0' && format[i] <= L'9') {
            precision = precision * 10 + (format[i] - L'0');
            if (precision > kMaxFieldSize) {
                return std::wstring_view::npos;
            }
            ++i;
        }
        insert.precision = precision;
    }
    if (i < n) {
        if (format.substr(i, 2) == L"hh") {
            insert.length = Length::Char;
            i += 2;
        } else if (format[i] == L'h') {
            insert.length = Length::Short;
            i += 1;
        } else if (format.substr(i, 2) == L"ll") {
            insert.length = Length::LongLong;
            i += 2;
        } else if (format.substr(i, 3) == L"I64") {
            insert.length = Length::LongLong;
            i += 3;
        } else if (format.substr(i, 3) == L"I32") {
            insert.length = Length::Long;
            i += 3;
        } else if (format[i] == L'l' || format[i] == L'w') {
            insert.length = Length::Long;
            i += 1;
        } else if (format[i] == L'L') {
            insert.length = Length::LongDouble;
            i += 1;
        } else if (format[i] == L'j' || format[i] == L'z' || format[i] == L't' || format[i] == L'q') {
            insert.length = Length::LongLong;
            i += 1;
        }
    }
    if (i >= n || !IsConversion(format[i])) {
        return std::wstring_view::npos;
    }
    insert.conversion = format[i];
    return i + 1;
}

std::string NarrowFormat(const InsertFormat& insert, const char* length, char conversion) {
    // Appended piece by piece: GCC 12 at -O3 warns (-Wrestrict) about
    // concatenating a literal with a temporary string.
    std::string text(1, '%');
    text += insert.flags;
    if (insert.width >= 0) {
        text += std::to_string(insert.width);
    }
    if (insert.precision >= 0) {
        text += '.';
        text += std::to_string(insert.precision);
    }
    text += length;
    text.push_back(conversion);
    return text;
}

// Numbers are written with the C locale whatever the desktop's locale is:
// a value sent to a module or saved in a file must read "12.34", never "12,34".
#ifdef _WIN32
// Windows has no uselocale: the thread gets a locale of its own for the
// length of the call, with "C" numbers.
class CNumericLocale {
public:
    CNumericLocale() : m_mode(::_configthreadlocale(_ENABLE_PER_THREAD_LOCALE)) {
        const char* current = std::setlocale(LC_NUMERIC, nullptr);
        if (current != nullptr && std::strcmp(current, "C") != 0) {
            m_previous = current;
            std::setlocale(LC_NUMERIC, "C");
        }
    }
    ~CNumericLocale() {
        if (!m_previous.empty()) {
            std::setlocale(LC_NUMERIC, m_previous.c_str());
        }
        ::_configthreadlocale(m_mode);
    }
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;

private:
    int m_mode;
    std::string m_previous;
};
#else
class CNumericLocale {
public:
    CNumericLocale() : m_previous(::uselocale(CLocale())) {}
    ~CNumericLocale() { ::uselocale(m_previous); }
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;

private:
    static locale_t CLocale() {
        static const locale_t c = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        return c != static_cast<locale_t>(nullptr) ? c : LC_GLOBAL_LOCALE;
    }
    locale_t m_previous;
};
#endif

template <class T>
std::wstring RunSnprintf(const std::string& narrowFormat, T value) {
    // The format was assembled here from validated parts and matches T.
    CNumericLocale numericLocale;
    char small[128];
    int needed = std::snprintf(small, sizeof small, narrowFormat.c_str(), value);
    if (needed < 0) {
        return {};
    }
    if (static_cast<std::size_t>(needed) < sizeof small) {
        return FromUtf8(small);
    }
    std::string big(static_cast<std::size_t>(needed) + 1, '\0');
    std::snprintf(big.data(), big.size(), narrowFormat.c_str(), value);
    big.resize(static_cast<std::size_t>(needed));
    return FromUtf8(big);
}

std::wstring PadText(std::wstring text, const InsertFormat& insert) {
    if (insert.precision >= 0 && text.size() > static_cast<std::size_t>(insert.precision)) {
        text.resize(static_cast<std::size_t>(insert.precision));
    }
    if (insert.width > 0 && text.size() < static_cast<std::size_t>(insert.width)) {
        std::size_t pad = static_cast<std::size_t>(insert.width) - text.size();
        if (insert.flags.find('-') != std::string::npos) {
            text.append(pad, L' ');
        } else {
            text.insert(0, pad, L' ');
        }
    }
    return text;
}

std::int64_t SaturatedFromReal(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 9.2233720368547758e18) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (value <= -9.2233720368547758e18) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(value);
}

std::int64_t SignedOf(const FormatArg& arg, Length length) {
    std::int64_t value = arg.AsSigned();
    switch (length) {
    case Length::Char:
        return static_cast<signed char>(value);
    case Length::Short:
        return static_cast<short>(value);
    case Length::LongLong:
        return value;
    default:
        return static_cast<std::int32_t>(value);
    }
}

std::uint64_t UnsignedOf(const FormatArg& arg, Length length) {
    std::uint64_t value = arg.AsUnsigned();
    switch (length) {
    case Length::Char:
        return static_cast<unsigned char>(value);
    case Length::Short:
        return static_cast<unsigned short>(value);
    case Length::LongLong:
        return value;
    default:
        return static_cast<std::uint32_t>(value);
    }
}

std::wstring FormatOne(const InsertFormat& insert, const FormatArg& arg) {
    const wchar_t c = insert.conversion;
    const bool numericArg = arg.GetType() != FormatArg::Type::Text;
    switch (c) {
    case L'd':
    case L'i':
        if (!numericArg) {
            return PadText(arg.AsText(), insert);
        }
        return RunSnprintf(NarrowFormat(insert, "ll", 'd'), static_cast<long long>(SignedOf(arg, insert.length)));
    case L'u':
    case L'o':
    case L'x':
    case L'X':
        if (!numericArg) {
            return PadText(arg.AsText(), insert);
        }
        return RunSnprintf(NarrowFormat(insert, "ll", static_cast<char>(c)),
                           static_cast<unsigned long long>(UnsignedOf(arg, insert.length)));
    case L'f':
    case L'F':
    case L'e':
    case L'E':
    case L'g':
    case L'G':
    case L'a':
    case L'A':
        if (!numericArg) {
            return PadText(arg.AsText(), insert);
        }
        return RunSnprintf(NarrowFormat(insert, "", static_cast<char>(c)), arg.AsReal());
    case L'c':
    case L'C': {
        std::wstring text;
        if (numericArg) {
            std::uint64_t code = arg.AsUnsigned();
            text.push_back(code > 0 && code <= 0x10FFFF ? static_cast<wchar_t>(code) : L'?');
        } else {
            text = arg.AsText().substr(0, 1);
        }
        InsertFormat noPrecision = insert;
        noPrecision.precision = -1;
        return PadText(text, noPrecision);
    }
    case L's':
    case L'S':
        return PadText(arg.AsText(), insert);
    default:
        return {};
    }
}

} // namespace

std::int64_t FormatArg::AsSigned() const {
    switch (m_type) {
    case Type::Signed:
        return m_signed;
    case Type::Unsigned:
        return static_cast<std::int64_t>(m_unsigned);
    case Type::Real:
        return SaturatedFromReal(m_real);
    case Type::Text:
        return 0;
    }
    return 0;
}

std::uint64_t FormatArg::AsUnsigned() const {
    switch (m_type) {
    case Type::Signed:
        return static_cast<std::uint64_t>(m_signed);
    case Type::Unsigned:
        return m_unsigned;
    case Type::Real:
        return static_cast<std::uint64_t>(SaturatedFromReal(m_real));
    case Type::Text:
        return 0;
    }
    return 0;
}

double FormatArg::AsReal() const {
    switch (m_type) {
    case Type::Signed:
        return static_cast<double>(m_signed);
    case Type::Unsigned:
        return static_cast<double>(m_unsigned);
    case Type::Real:
        return m_real;
    case Type::Text:
        return 0.0;
    }
    return 0.0;
}

std::wstring FormatArg::AsText() const {
    switch (m_type) {
    case Type::Signed:
        return std::to_wstring(m_signed);
    case Type::Unsigned:
        return std::to_wstring(m_unsigned);
    case Type::Real:
        return RunSnprintf("%g", m_real);
    case Type::Text:
        return m_text;
    }
    return {};
}

std::wstring CMessageFormatter::Printf(std::wstring_view format, std::span<const FormatArg> args) {
    std::wstring out;
    out.reserve(format.size() + 16);
    std::size_t next = 0;
    std::size_t i = 0;
    while (i < format.size()) {
        wchar_t ch = format[i];
        if (ch != L'%') {
            out.push_back(ch);
            ++i;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == L'%') {
            out.push_back(L'%');
            i += 2;
            continue;
        }
        InsertFormat insert;
        std::size_t end = ParseInsert(format, i + 1, insert);
        if (end == std::wstring_view::npos) {
            // Not an insert we understand: keep the percent sign as text.
            out.push_back(L'%');
            ++i;
            continue;
        }
        if (insert.conversion == L'n') {
            out.push_back(L'\n');
        } else if (next < args.size()) {
            out += FormatOne(insert, args[next++]);
        } else {
            out.append(format.substr(i, end - i));
        }
        i = end;
    }
    return out;
}

std::wstring CMessageFormatter::Numbered(std::wstring_view format, std::span<const FormatArg> args) {
    std::wstring out;
    out.reserve(format.size() + 16);
    std::size_t i = 0;
    const std::size_t n = format.size();
    while (i < n) {
        wchar_t ch = format[i];
        if (ch != L'%') {
            out.push_back(ch);
            ++i;
            continue;
        }
        if (i + 1 >= n) {
            out.push_back(L'%');
            break;
        }
        wchar_t c = format[i + 1];
        if (c >= L'1' && c <= L'9') {
            std::size_t j = i + 1;
            std::size_t index = 0;
            int digits = 0;
            while (j < n && digits < 2 && format[j] >= L'0' && format[j] <= L'9') {
                index = index * 10 + static_cast<std::size_t>(format[j] - L'0');
                ++j;
                ++digits;
            }
            std::wstring_view conversion = L"s";
            if (j < n && format[j] == L'!') {
                std::size_t close = format.find(L'!', j + 1);
                if (close != std::wstring_view::npos) {
                    conversion = format.substr(j + 1, close - j - 1);
                    j = close + 1;
                }
            }
            if (index >= 1 && index <= args.size()) {
                std::wstring insert = L"%" + std::wstring(conversion);
                InsertFormat parsed;
                std::size_t end = ParseInsert(insert, 1, parsed);
                if (end == insert.size() && parsed.conversion != L'n') {
                    out += FormatOne(parsed, args[index - 1]);
                } else {
                    out += args[index - 1].AsText();
                }
            } else {
                out.append(format.substr(i, j - i));
            }
            i = j;
            continue;
        }
        switch (c) {
        case L'n':
            out.push_back(L'\n');
            break;
        case L't':
            out.push_back(L'\t');
            break;
        case L'%':
            out.push_back(L'%');
            break;
        default:
            if (std::iswalpha(static_cast<wint_t>(c)) || c == L'0') {
                out.push_back(L'%');
            }
            out.push_back(c);
            break;
        }
        i += 2;
    }
    return out;
}

std::wstring CMessageFormatter::SystemErrorText(int errorNumber) {
    char buffer[256];
    buffer[0] = '\0';
#ifdef _WIN32
    const char* text = strerror_s(buffer, sizeof buffer, errorNumber) == 0 ? buffer : nullptr;
#else
    // GNU strerror_r may return a static string instead of filling the buffer.
    const char* text = strerror_r(errorNumber, buffer, sizeof buffer);
#endif
    return FromUtf8(text != nullptr ? text : "");
}
