#include "app/CResourceManager.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

// Every message key the program looks up, with the arguments its users pass.
struct MessageUse {
    const wchar_t* key;
    enum { None, Printf, Numbered } style;
    std::vector<FormatArg> args;
};

std::vector<MessageUse> Uses() {
    const std::wstring s = L"TEXT";
    std::vector<MessageUse> uses = {
        {L"rangeerr", MessageUse::Numbered, {s, s, s}},
        {L"rangeerr2", MessageUse::Numbered, {s, s, s, s}},
        {L"serio.openerr", MessageUse::Printf, {s}},
        {L"jx5com.errcode", MessageUse::Printf, {5}},
        {L"jx5com.comfail", MessageUse::Printf, {s, 1, 2, 1, s}},
        {L"iocap", MessageUse::Printf, {s}},
        {L"difcarderr", MessageUse::Printf, {4}},
        {L"uploaderr", MessageUse::Printf, {s}},
        {L"downloaderr", MessageUse::Printf, {s}},
    };
    for (const wchar_t* key :
         {L"inperr", L"inpierr", L"iperr", L"passwordErr", L"dateErr", L"timeErr", L"yearErr", L"monthErr",
          L"dayErr", L"minErr", L"secErr", L"unitv", L"unitp", L"unitma", L"unitdegc", L"unitdegf", L"unitk",
          L"unitsec", L"unitmsec", L"serio.seterr", L"jx5com.timeout", L"jx5com.invres", L"jx5com.redundantfail",
          L"jx5com.overcount", L"comcap", L"difcomcarderr", L"simuouterr", L"illfileerr", L"desfileerr",
          L"uploading", L"downloading", L"inSimulate", L"siminput", L"simoutput", L"fopenfilter"}) {
        uses.push_back({key, MessageUse::None, {}});
    }
    return uses;
}

} // namespace

TEST(EnglishLanguage, EveryMessageExistsAndTakesItsArguments) {
    k52test::LoadEnglish();
    for (const MessageUse& use : Uses()) {
        SCOPED_TRACE(std::string(use.key, use.key + std::wcslen(use.key)));
        std::wstring text = CResourceManager::GetMessage(use.key);
        EXPECT_FALSE(text.empty());
        std::wstring formatted = text;
        if (use.style == MessageUse::Printf) {
            formatted = CMessageFormatter::Printf(text, std::span<const FormatArg>(use.args));
        } else if (use.style == MessageUse::Numbered) {
            formatted = CMessageFormatter::Numbered(text, std::span<const FormatArg>(use.args));
        }
        // Every argument lands in the text and no insert is left over.
        std::size_t texts = 0;
        for (std::size_t at = formatted.find(L"TEXT"); at != std::wstring::npos; at = formatted.find(L"TEXT", at + 1)) {
            ++texts;
        }
        std::size_t expectedTexts = 0;
        for (const FormatArg& arg : use.args) {
            expectedTexts += arg.GetType() == FormatArg::Type::Text ? 1 : 0;
        }
        EXPECT_EQ(texts, expectedTexts) << std::string(formatted.begin(), formatted.end());
        if (use.style != MessageUse::None) {
            EXPECT_FALSE(std::regex_search(formatted, std::wregex(L"%[-+ #0-9.]*[a-zA-Z]")));
        }
    }
    EXPECT_EQ(CResourceManager::FormatMessage(L"iocap", std::wstring(L"07")), L"IO07");
    EXPECT_EQ(CResourceManager::Database().GetLanguageName(), L"English");
}
