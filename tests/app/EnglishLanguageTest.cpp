#include "base/CResourceManager.h"
#include "base/TextConvert.h"
#include "support/MessageUses.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>


using k52test::MessageUse;

TEST(EnglishLanguage, EveryMessageExistsAndTakesItsArguments) {
    k52test::LoadEnglish();
    for (const MessageUse& use : k52test::MessageUses()) {
        SCOPED_TRACE(ToUtf8(use.key));
        std::wstring text = CResourceManager::Database().GetMessage(use.key);
        EXPECT_FALSE(text.empty());
        // Every argument lands in the text and no insert is left over.
        EXPECT_TRUE(k52test::TakesItsArguments(use, text))
            << ToUtf8(k52test::FormatWithItsArguments(use, text));
    }
    EXPECT_EQ(CResourceManager::FormatMessage(Msg::iocap, std::wstring(L"07")), L"IO07");
    EXPECT_EQ(CResourceManager::Database().GetLanguageName(), L"English");
}
