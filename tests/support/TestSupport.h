#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

enum class FailureKind;

namespace k52test {

// A fresh directory under the system's temporary folder, removed again.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::wstring file(const std::string& name) const { return (m_path / name).wstring(); }

private:
    std::filesystem::path m_path;
};

void WriteFile(const std::filesystem::path& path, const std::string& content);

// Sets an environment variable of the process; nullptr removes it.
void SetEnvironment(const char* name, const char* value);
std::string ReadFile(const std::filesystem::path& path);

// The language files delivered beside the programs, sorted by name.
std::vector<std::filesystem::path> ShippedLanguageFiles();

// Loads lang/English.lng (copied next to the test programs) into the
// application's database.
void LoadEnglish();

// Runs a statement that must raise our exception and returns its text.
template <class F> std::wstring RaisedText(F&& f);

// Runs a statement that must raise our exception and returns its kind.
template <class F> FailureKind RaisedKind(F&& f);

} // namespace k52test

#include "base/CPrivateException.h"

template <class F>
std::wstring k52test::RaisedText(F&& f) {
    try {
        f();
    } catch (const CException& error) {
        return GetExceptionMessage(error, 100000);
    }
    ADD_FAILURE() << "nothing was raised";
    return L"<nothing raised>";
}

template <class F> FailureKind k52test::RaisedKind(F&& f) {
    try {
        f();
    } catch (const CPrivateException& error) {
        return error.GetKind();
    }
    ADD_FAILURE() << "nothing was raised";
    return FailureKind::Other;
}
