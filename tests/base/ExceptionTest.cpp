#include "base/CPrivateException.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

TEST(PrivateException, NullTextIsEmptyAndStillReportsSuccess) {
    CPrivateException error(FailureKind::Cancelled, static_cast<const wchar_t*>(nullptr));
    wchar_t buffer[8] = L"xxxxxxx";
    EXPECT_TRUE(error.GetErrorMessage(buffer, 8));
    EXPECT_EQ(std::wstring(buffer), L"");
    EXPECT_TRUE(error.IsCancellation());
}

TEST(PrivateException, MessageIsCutToTheBufferAndAlwaysTerminated) {
    CPrivateException error(FailureKind::Other, L"abcdef");
    wchar_t one[1] = {L'x'};
    EXPECT_TRUE(error.GetErrorMessage(one, 1));
    EXPECT_EQ(one[0], L'\0');

    wchar_t four[4];
    error.GetErrorMessage(four, 4);
    EXPECT_EQ(std::wstring(four), L"abc");

    wchar_t exact[7];
    error.GetErrorMessage(exact, 7);
    EXPECT_EQ(std::wstring(exact), L"abcdef");
}

TEST(PrivateException, CopyKeepsTheTextAndWhatGivesUtf8) {
    CPrivateException original(FailureKind::Input, L"Temperatur 25 °C");
    // NOLINTNEXTLINE(performance-unnecessary-copy-initialization): the copy is under test
    CPrivateException copy(original);
    EXPECT_EQ(copy.GetText(), L"Temperatur 25 °C");
    EXPECT_STREQ(copy.what(), "Temperatur 25 \xC2\xB0"
                              "C");
    EXPECT_STREQ(CPrivateException::GetRuntimeClassName(), "CPrivateException");
}

TEST(PrivateException, ReportErrorShowsAtMost511Characters) {
    std::vector<std::wstring> shown;
    auto previous = SetErrorReportHandler([&](const std::wstring& text) { shown.push_back(text); });
    CPrivateException(FailureKind::Other, std::wstring(600, L'm')).ReportError();
    CPrivateException(FailureKind::Other, L"short").ReportError();
    SetErrorReportHandler(previous);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], std::wstring(511, L'm'));
    EXPECT_EQ(shown[1], L"short");
}

TEST(PrivateException, RootExceptionHasNoMessage) {
    CException root;
    wchar_t buffer[4] = L"abc";
    unsigned context = 7;
    EXPECT_FALSE(root.GetErrorMessage(buffer, 4, &context));
    EXPECT_EQ(buffer[0], L'\0');
    EXPECT_EQ(context, 0u);
}

TEST(PrivateException, MessageOfAnyCaughtExceptionIsBounded) {
    EXPECT_EQ(GetExceptionMessage(CPrivateException(FailureKind::Other, std::wstring(2000, L'a'))).size(),
              1023u);
    EXPECT_EQ(GetExceptionMessage(std::invalid_argument("bad argument")), L"bad argument");
    EXPECT_EQ(GetExceptionMessage(std::invalid_argument("bad argument"), 4), L"bad");
}
