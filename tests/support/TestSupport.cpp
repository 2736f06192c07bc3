#include "support/TestSupport.h"

#include "base/CResourceManager.h"
#include "base/TextConvert.h"

#include <algorithm>

#include <fstream>
#include <random>
#include <sstream>
#include <unistd.h>

namespace k52test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "k52test.XXXXXX").string();
    char* made = ::mkdtemp(pattern.data());
    if (made == nullptr) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    m_path = made;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
    std::filesystem::remove_all(m_path, ignored);
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
