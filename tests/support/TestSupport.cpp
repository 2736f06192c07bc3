#include "support/TestSupport.h"

#include "base/CResourceManager.h"
#include "base/TextConvert.h"

#include <algorithm>

#include <fstream>
#include <random>
#include <sstream>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace k52test {

TempDir::TempDir() {
#ifdef _WIN32
    // No mkdtemp here: a random name, made only if nobody has it yet.
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            std::filesystem::temp_directory_path() / ("k52test." + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
#else
    std::string pattern = (std::filesystem::temp_directory_path() / "k52test.XXXXXX").string();
    char* made = ::mkdtemp(pattern.data());
    if (made == nullptr) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    m_path = made;
#endif
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
    std::filesystem::remove_all(m_path, ignored);
}

void SetEnvironment(const char* name, const char* value) {
#ifdef _WIN32
    ::_putenv_s(name, value != nullptr ? value : ""); // empty removes it
#else
    if (value != nullptr) {
        ::setenv(name, value, 1);
    } else {
        ::unsetenv(name);
    }
#endif
}

void WriteFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::vector<std::filesystem::path> ShippedLanguageFiles() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(ToUtf8(GetModuleDirectory()))) {
        if (entry.is_regular_file() && entry.path().extension() == ".lng") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

void LoadEnglish() {
    CResourceManager::Database().Load(L"English.lng");
}

} // namespace k52test
