#include "app/CResourceManager.h"
#include "support/MessageUses.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <regex>

using k52test::MessageUse;

TEST(EnglishLanguage, EveryMessageExistsAndTakesItsArguments) {
    k52test::LoadEnglish();
    for (const MessageUse& use : k52test::MessageUses()) {
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
