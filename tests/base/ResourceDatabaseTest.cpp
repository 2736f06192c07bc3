#include "base/CResourceDatabase.h"
#include "base/CResourceManager.h"
#include "support/TestSupport.h"
#ifdef _WIN32
#include "base/Win32Error.h"
#endif

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using k52test::RaisedText;
using k52test::TempDir;
using k52test::WriteFile;

namespace {

// A message key takes exactly the arguments it declares, in its own style of
// inserts; anything else does not compile.
template <class Key, class... Args>
concept PrintfCall = requires(Key key, Args... args) {
    CResourceManager::FormatMessage(key, args...);
};
template <class Key, class... Args>
concept NumberedCall = requires(Key key, Args... args) {
    CResourceManager::FormatNumberedMessage(key, args...);
};
template <class Key>
concept PlainCall = requires(Key key) {
    CResourceManager::GetMessage(key);
};

static_assert(PrintfCall<decltype(Msg::difcarderr), int>);
static_assert(!PrintfCall<decltype(Msg::difcarderr), std::wstring>);
static_assert(!PrintfCall<decltype(Msg::difcarderr)>);
static_assert(!PrintfCall<decltype(Msg::difcarderr), int, int>);
static_assert(PrintfCall<decltype(Msg::jx5com_comfail), std::wstring, int, int, int, std::wstring>);
static_assert(!PrintfCall<decltype(Msg::jx5com_comfail), std::wstring, int, int, std::wstring, int>);
static_assert(NumberedCall<decltype(Msg::rangeerr), std::wstring, std::wstring, const wchar_t*>);
static_assert(!PrintfCall<decltype(Msg::rangeerr), std::wstring, std::wstring, std::wstring>);
static_assert(!NumberedCall<decltype(Msg::rangeerr), std::wstring, std::wstring>);
static_assert(PlainCall<decltype(Msg::inperr)>);
static_assert(!PlainCall<decltype(Msg::uploaderr)>);
static_assert(!PlainCall<const wchar_t*>);

std::string LanguageFile(const std::string& application, const std::string& filetype,
                         const std::string& language, const std::string& body = "") {
    return "<?xml version='1.0' encoding='utf-8'?><root><application>" + application +
           "</application><filetype>" + filetype + "</filetype><language>" + language + "</language>" + body +
           "</root>";
}

const std::string kBody = "<gui name='102'><text name='0'>Main</text><text name='1001'></text>"
                          "<text name='-1'>shared</text></gui>"
                          "<message><text name='hello'>Hello %s</text></message>"
                          "<parameter name='JK7W'><text name='bias'>Bias</text>"
                          "<list name='rangePC'>"
                          "<node name='0'><text>0 to 10 V</text><data>0</data></node>"
                          "<node name='1'><text>empty data</text><data></data></node>"
                          "<node name='2'><text>digits first</text><data>12abc</data></node>"
                          "<node name='3'><text>no digits</text><data>abc</data></node>"
                          "<node name='4'><text>negative</text><data> -7</data></node>"
                          "</list></parameter>";

} // namespace

TEST(ResourceDatabase, LooksUpEveryKindOfText) {
    TempDir dir;
    WriteFile(dir.path() / "Test.lng", LanguageFile("K52CFG", "language", "Testish", kBody));
    CResourceDatabase database;
    database.Load(dir.file("Test.lng"));
    EXPECT_EQ(database.GetLanguageName(), L"Testish");
    EXPECT_EQ(database.GetGuiText(102, 0), L"Main");
    EXPECT_EQ(database.GetGuiText(102, 1001), L"");
    EXPECT_EQ(database.GetGuiText(102, -1), L"shared");
    EXPECT_EQ(database.GetMessage(L"hello"), L"Hello %s");
    EXPECT_EQ(database.GetParameterText(L"JK7W", L"bias"), L"Bias");
    EXPECT_EQ(database.GetListText(L"JK7W", L"rangePC", 0), L"0 to 10 V");
    EXPECT_EQ(database.GetListData(L"JK7W", L"rangePC", 0), 0);
    EXPECT_EQ(database.GetListData(L"JK7W", L"rangePC", 1), -2);
    EXPECT_EQ(database.GetListData(L"JK7W", L"rangePC", 2), 12);
    EXPECT_EQ(database.GetListData(L"JK7W", L"rangePC", 3), 0);
    EXPECT_EQ(database.GetListData(L"JK7W", L"rangePC", 4), -7);
}

TEST(ResourceDatabase, MissingKeysRaiseAndNameThePath) {
    TempDir dir;
    WriteFile(dir.path() / "Test.lng", LanguageFile("K52CFG", "language", "Testish", kBody));
    CResourceDatabase database;
    database.Load(dir.file("Test.lng"));
    std::wstring text = RaisedText([&] { database.GetMessage(L"nosuchkey"); });
    EXPECT_NE(text.find(L"/root/message/text[@name='nosuchkey']"), std::wstring::npos) << text;
    RaisedText([&] { database.GetListText(L"JK7W", L"rangePC", 5); });
    RaisedText([&] { database.GetGuiText(102, 1002); });
}

TEST(ResourceDatabase, ResetLeavesNothingToLookUp) {
    CResourceDatabase database;
    database.Reset();
    RaisedText([&] { database.GetLanguageName(); });
    RaisedText([&] { database.GetGuiText(102, 0); });
}

TEST(ResourceDatabase, RejectedHeadersAreWrappedAndTheRejectedFileIsKept) {
    TempDir dir;
    WriteFile(dir.path() / "Good.lng", LanguageFile("K52CFG", "language", "Good", kBody));
    WriteFile(dir.path() / "Config.lng", LanguageFile("K52CFG", "configuration", "Config"));
    WriteFile(dir.path() / "Other.lng", LanguageFile("OTHER", "language", "Other"));
    WriteFile(dir.path() / "Empty.lng", LanguageFile("K52CFG", "language", ""));
    WriteFile(dir.path() / "NoName.lng",
              "<root><application>K52CFG</application><filetype>language</filetype></root>");
    CResourceDatabase database;
    database.Load(dir.file("Good.lng"));

    const std::wstring path = dir.file("Config.lng");
    EXPECT_EQ(RaisedText([&] { database.Load(path); }),
              L"Can't read resource file \"" + path + L"\".\nIllegal format");
    // The file parsed, so it replaced the previous document before it was refused.
    EXPECT_EQ(database.GetLanguageName(), L"Config");

    EXPECT_NE(RaisedText([&] { database.Load(dir.file("Other.lng")); }).find(L"\nIllegal format"),
              std::wstring::npos);
    EXPECT_NE(RaisedText([&] { database.Load(dir.file("Empty.lng")); }).find(L"\nIllegal format"),
              std::wstring::npos);
    // A missing header element is a failure of its own, wrapped the same way.
    std::wstring missing = RaisedText([&] { database.Load(dir.file("NoName.lng")); });
    EXPECT_EQ(missing.rfind(L"Can't read resource file \"", 0), 0u) << missing;
    EXPECT_NE(missing.find(L"/root/language"), std::wstring::npos) << missing;
}

TEST(ResourceDatabase, UnreadableFilesKeepThePreviousDocument) {
    TempDir dir;
    WriteFile(dir.path() / "Good.lng", LanguageFile("K52CFG", "language", "Good", kBody));
    WriteFile(dir.path() / "Broken.lng", "<root><application>K52CFG</application>\n<filetype>");
    CResourceDatabase database;
    database.Load(dir.file("Good.lng"));

    std::wstring broken = RaisedText([&] { database.Load(dir.file("Broken.lng")); });
    EXPECT_NE(broken.find(L"line 2"), std::wstring::npos) << broken;
    EXPECT_EQ(database.GetLanguageName(), L"Good");

    std::wstring missing = RaisedText([&] { database.Load(dir.file("Missing.lng")); });
#ifdef _WIN32
    const std::wstring notFound = Win32ErrorText(2); // ERROR_FILE_NOT_FOUND
#else
    const std::wstring notFound = L"No such file or directory";
#endif
    EXPECT_NE(missing.find(notFound), std::wstring::npos) << missing;
    EXPECT_EQ(database.GetLanguageName(), L"Good");
}

TEST(ResourceDatabase, BareNamesAreFoundBesideTheProgram) {
    CResourceDatabase database;
    database.Load(L"English.lng");
    EXPECT_EQ(database.GetLanguageName(), L"English");
    std::wstring text = RaisedText([&] { database.Load(L"NoSuchLanguage.lng"); });
    EXPECT_EQ(text.rfind(L"Can't read resource file \"NoSuchLanguage.lng\".\n", 0), 0u) << text;
    const std::wstring besideProgram =
        (std::filesystem::path(GetModuleDirectory()) / "NoSuchLanguage.lng").wstring();
    EXPECT_NE(text.find(besideProgram), std::wstring::npos) << text;
}

TEST(ResourceDatabase, LongInnerMessagesAreCutTo1024Characters) {
    TempDir dir;
    // The inner message names the file, so a very long file name makes a very long reason.
    std::string longName(200, 'n');
    std::filesystem::path deep = dir.path();
    for (int i = 0; i < 6; ++i) {
        deep /= longName;
    }
    std::filesystem::create_directories(deep);
    std::wstring path = (deep / "Missing.lng").wstring();
    std::wstring text = RaisedText([&] { CResourceDatabase().Load(path); });
    std::wstring prefix = L"Can't read resource file \"" + path + L"\".\n";
    ASSERT_EQ(text.rfind(prefix, 0), 0u);
    EXPECT_EQ(text.size() - prefix.size(), 1024u);
}

TEST(ResourceDatabase, ModuleDirectory) {
    EXPECT_EQ(DirectoryOfModulePath(L"/opt/k52/bin/k52cfg"), L"/opt/k52/bin");
    EXPECT_EQ(DirectoryOfModulePath(L"k52cfg"), L"k52cfg");
    EXPECT_EQ(DirectoryOfModulePath(L"/k52cfg"), L"/k52cfg");
    EXPECT_FALSE(GetModuleDirectory().empty());
    EXPECT_NE(GetModuleDirectory().back(), L'/');
}

TEST(ResourceDatabase, LeadingIntegers) {
    EXPECT_EQ(ParseLeadingInteger(L"12abc"), 12);
    EXPECT_EQ(ParseLeadingInteger(L"abc"), 0);
    EXPECT_EQ(ParseLeadingInteger(L"  +5"), 5);
    EXPECT_EQ(ParseLeadingInteger(L"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseLeadingInteger(L"99999999999"), 2147483647);
}

TEST(ResourceManager, AMissingMessageComesFromEnglishElseTheKeyWithItsArguments) {
    // The application's language holds one text of its own and lacks the rest.
    TempDir dir;
    WriteFile(dir.path() / "Sparse.lng", LanguageFile("K52CFG", "language", "Sparse", kBody));
    CResourceManager::Database().Load(dir.file("Sparse.lng"));

    // Keys of this test's own, beside the program's.
    constexpr MessageKey<MessageStyle::Printf, Msg::Text> hello{L"hello"};
    constexpr PlainMessageKey missing{L"no.such.key"};
    constexpr MessageKey<MessageStyle::Printf, Msg::Number, Msg::Text> missingPrintf{L"no.such.key"};
    constexpr MessageKey<MessageStyle::Numbered, Msg::Text> missingNumbered{L"no.such.key"};

    EXPECT_EQ(CResourceManager::FormatMessage(hello, std::wstring(L"you")), L"Hello you");
    CResourceDatabase english;
    english.Load(L"English.lng");
    EXPECT_EQ(CResourceManager::FormatMessage(Msg::difcarderr, 4),
              CMessageFormatter::Printf(english.GetMessage(L"difcarderr"), 4));
    EXPECT_EQ(CResourceManager::GetMessage(Msg::illfileerr), english.GetMessage(L"illfileerr"));

    EXPECT_EQ(CResourceManager::GetMessage(missing), L"no.such.key");
    EXPECT_EQ(CResourceManager::FormatMessage(missingPrintf, 4, std::wstring(L"/dev/ttyUSB0")),
              L"no.such.key: 4, /dev/ttyUSB0");
    EXPECT_EQ(CResourceManager::FormatNumberedMessage(missingNumbered, std::wstring(L"IO03")),
              L"no.such.key: IO03");
    k52test::LoadEnglish();
}
