#include "FuzzSupport.h"

#include "base/CException.h"
#include "base/CResourceManager.h"
#include "catalog/CCOMCardType.h"
#include "catalog/CIOCardType.h"
#include "catalog/ModelRegistry.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <span>
#include <unistd.h>

namespace k52fuzz {

namespace {

class OwnDirectory {
public:
    OwnDirectory() {
        std::error_code error;
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0
                ? std::filesystem::path("/dev/shm")
                : std::filesystem::temp_directory_path();
        std::string pattern = (base / "k52fuzz.XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("k52fuzz: cannot create a scratch directory");
            std::abort();
        }
        m_path = pattern;
    }
    ~OwnDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace

void LoadEnglish() {
    try {
        CResourceManager::Database().Load(L"English.lng");
    } catch (const CException& error) {
        std::fprintf(stderr, "k52fuzz: %s\n", error.what());
        std::abort();
    }
}

const std::filesystem::path& ScratchDirectory() {
    static OwnDirectory directory;
    return directory.path();
}

void WriteBytes(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) {
        Finding("cannot write the scratch file " + path.string());
    }
}

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::unique_ptr<CCardInterface> CardOfModel(std::uint32_t choice, StationAttribute attribute) {
    const std::span<const ModelRow> rows = AllModelRows();
    const ModelRow& row = rows[choice % rows.size()];
    return row.registry == CardRegistry::Io ? CIOCardType(attribute).CreateByCode(row.code)
                                            : CCOMCardType().CreateByCode(row.code);
}

void Finding(const std::string& what) {
    std::fprintf(stderr, "\n*** k52fuzz finding: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

std::wstring Latin1(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    text.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        text.push_back(static_cast<wchar_t>(data[i]));
    }
    return text;
}

std::string Printable(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<char>(c));
        } else {
            char escape[16];
            std::snprintf(escape, sizeof escape, "\\x{%X}", static_cast<unsigned>(c));
            out += escape;
        }
    }
    return out;
}

} // namespace k52fuzz
