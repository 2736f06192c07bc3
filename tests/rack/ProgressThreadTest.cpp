#include "rack/CProgressThreadInterface.h"
#include "support/ScriptedThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

using k52test::ScriptedThread;

namespace {

// Collects reported error texts instead of printing them.
class ReportedErrors {
public:
    ReportedErrors() {
        SetErrorReportHandler([this](const std::wstring& text) {
            std::lock_guard lock(m_mutex);
            m_texts.push_back(text);
        });
    }
    ~ReportedErrors() { SetErrorReportHandler(nullptr); }

    std::vector<std::wstring> Texts() const {
        std::lock_guard lock(m_mutex);
        return m_texts;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::wstring> m_texts;
};

void WaitUntilEnded(const CProgressThreadInterface& thread) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!thread.HasEnded() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(thread.HasEnded());
}

} // namespace

TEST(ProgressThread, FailureIsKeptAndReportedOnlyWhenTheObjectGoes) {
    ReportedErrors reported;
    {
        ScriptedThread thread([](ScriptedThread&) {
            throw CPrivateException(FailureKind::Port, L"The port cannot be opened.");
        });
        EXPECT_FALSE(thread.HasEnded());
        thread.Start();
        WaitUntilEnded(thread);
        EXPECT_FALSE(thread.Succeeded());
        ASSERT_NE(thread.GetError(), nullptr);
        EXPECT_EQ(thread.GetError()->GetText(), L"The port cannot be opened.");
        EXPECT_TRUE(reported.Texts().empty()) << "shown before the starter finished";
    }
    EXPECT_EQ(reported.Texts(), std::vector<std::wstring>{L"The port cannot be opened."});
}

TEST(ProgressThread, FailuresOfOtherKindsAreKeptWithTheirText) {
    ReportedErrors reported;
    {
        ScriptedThread thread([](ScriptedThread&) { throw std::out_of_range("slot index out of range"); });
        thread.Start();
        WaitUntilEnded(thread);
        EXPECT_FALSE(thread.Succeeded());
        ASSERT_NE(thread.GetError(), nullptr);
    }
    EXPECT_EQ(reported.Texts(), std::vector<std::wstring>{L"slot index out of range"});
}

TEST(ProgressThread, FailureAfterCancelEndsSilently) {
    ReportedErrors reported;
    {
        ScriptedThread thread([](ScriptedThread& self) {
            self.WaitForCancel();
            throw CPrivateException(FailureKind::Other, L"read interrupted");
        });
        thread.Start();
        thread.Cancel();
        WaitUntilEnded(thread);
        EXPECT_TRUE(thread.IsCancelled());
        EXPECT_FALSE(thread.Succeeded());
        EXPECT_EQ(thread.GetError(), nullptr);
    }
    EXPECT_TRUE(reported.Texts().empty());
}

TEST(ProgressThread, SuccessRunsOnceAndReportsNothing) {
    ReportedErrors reported;
    {
        ScriptedThread thread([](ScriptedThread& self) {
            self.GetProgress().SetTotal(3);
            self.GetProgress().Advance(5);
            self.GetProgress().Complete();
        });
        EXPECT_EQ(thread.GetProgressText(), L"");
        thread.Start();
        thread.Start();
        WaitUntilEnded(thread);
        EXPECT_TRUE(thread.Succeeded());
        EXPECT_EQ(thread.runs.load(), 1);
        EXPECT_EQ(thread.GetProgress().GetTotal(), 5);
        EXPECT_EQ(thread.GetProgress().GetCurrent(), 5);
    }
    EXPECT_TRUE(reported.Texts().empty());
}

TEST(ProgressThread, NeverStartedObjectGoesQuietly) {
    ReportedErrors reported;
    {
        ScriptedThread thread(
            [](ScriptedThread&) { throw CPrivateException(FailureKind::Other, L"must not run"); });
        EXPECT_FALSE(thread.HasEnded());
        EXPECT_FALSE(thread.Succeeded());
    }
    EXPECT_TRUE(reported.Texts().empty());
}
