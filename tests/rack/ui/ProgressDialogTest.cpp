#include "base/CResourceManager.h"
#include "base/ui/ControlId.h"
#include "base/ui/TranslateWindow.h"
#include "rack/ui/CProgressDialog.h"
#include "support/GuiTestSupport.h"
#include "support/ScriptedThread.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using k52test::ErrorBoxRecorder;
using k52test::ScriptedThread;
using k52test::WhenModalShown;

namespace {

QProgressBar* Bar(QWidget* modal) {
    return FindControlAs<QProgressBar>(modal, CProgressDialog::IdProgressBar);
}

QLabel* Message(QWidget* modal) {
    return FindControlAs<QLabel>(modal, CProgressDialog::IdMessage);
}

class ProgressDialogTest : public ::testing::Test {
protected:
    void SetUp() override { k52test::LoadEnglish(); }

    ErrorBoxRecorder m_errors;
};

} // namespace

TEST_F(ProgressDialogTest, FailureAtOnceClosesAtTheFirstLookAndIsShownAfterwards) {
    auto thread = std::make_unique<ScriptedThread>([](ScriptedThread&) {
        throw CPrivateException(FailureKind::Port, L"The port /dev/ttyS0 cannot be opened.");
    });
    CProgressDialog dialog;
    QElapsedTimer clock;
    clock.start();

    int result = dialog.RunWithThread(*thread);

    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_LT(clock.elapsed(), 1500);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(m_errors.Texts().empty()) << "shown while the window was open";
    thread.reset();
    EXPECT_EQ(m_errors.Texts(), std::vector<std::wstring>{L"The port /dev/ttyS0 cannot be opened."});
}

TEST_F(ProgressDialogTest, CancelAsksTheWorkerAndWaitsForItsEnd) {
    for (bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "Cancel button");
        auto thread = std::make_unique<ScriptedThread>([](ScriptedThread& self) {
            self.WaitForCancel();
            // The pending read fails once the link is cancelled, a moment later.
            self.WaitForRelease();
            throw CPrivateException(FailureKind::Other, L"read cancelled");
        });
        CProgressDialog dialog;
        bool openAfterCancel = false;
        bool cancelled = false;
        bool cancelledByEnter = true;
        WhenModalShown([&](QWidget* modal) {
            QTest::keyClick(modal, Qt::Key_Return);
            QTest::qWait(CProgressDialog::kPollMilliseconds);
            cancelledByEnter = thread->IsCancelled() || !modal->isVisible();
            if (escape) {
                QTest::keyClick(modal, Qt::Key_Escape);
            } else {
                QTest::mouseClick(FindControlAs<QPushButton>(modal, CProgressDialog::IdCancel),
                                  Qt::LeftButton);
            }
            QTest::qWait(3 * CProgressDialog::kPollMilliseconds);
            openAfterCancel = modal->isVisible();
            cancelled = thread->IsCancelled();
            thread->Release();
        });

        EXPECT_EQ(dialog.RunWithThread(*thread), QDialog::Accepted);

        EXPECT_FALSE(cancelledByEnter);
        EXPECT_TRUE(openAfterCancel);
        EXPECT_TRUE(cancelled);
        EXPECT_TRUE(thread->HasEnded());
        EXPECT_FALSE(thread->Succeeded());
        thread.reset();
        EXPECT_TRUE(m_errors.Texts().empty());
    }
}

TEST_F(ProgressDialogTest, ShowsTheWorkersTextAndCount) {
    ScriptedThread thread([](ScriptedThread& self) { self.WaitForRelease(); });
    CProgressDialog dialog;
    struct Step {
        int total;
        int current;
        int position;
    };
    // Truncated, not rounded; an empty total is an empty bar; a count past
    // its total or equal to it is a full bar.
    const Step steps[] = {{3, 2, 6666}, {0, 5, 0}, {4, 9, 10000}, {7, 7, 10000}, {-3, 1, 0}, {1000, 1, 10}};
    std::vector<int> positions;
    QString message;
    QString caption;
    int maximum = 0;
    WhenModalShown([&](QWidget* modal) {
        caption = modal->windowTitle();
        maximum = Bar(modal)->maximum();
        thread.SetProgressText(L"Reading the station...");
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return Message(modal)->text() == "Reading the station..."; }, 2000));
        message = Message(modal)->text();
        for (const Step& step : steps) {
            thread.GetProgress().SetTotal(step.total);
            thread.GetProgress().SetCurrent(step.current);
            (void)QTest::qWaitFor([&] { return Bar(modal)->value() == step.position; }, 1000);
            positions.push_back(Bar(modal)->value());
        }
        thread.Release();
    });

    dialog.RunWithThread(thread);

    EXPECT_EQ(caption, "Processing...");
    EXPECT_EQ(maximum, CProgressDialog::kBarRange);
    EXPECT_EQ(message, "Reading the station...");
    std::vector<int> expected;
    for (const Step& step : steps) {
        expected.push_back(step.position);
    }
    EXPECT_EQ(positions, expected);
    EXPECT_TRUE(thread.Succeeded());
    EXPECT_TRUE(m_errors.Texts().empty());
}

TEST_F(ProgressDialogTest, EnglishHasATextForEveryControl) {
    CProgressDialog progress;
    EXPECT_NO_THROW(TranslateWindow(131, &progress));
    EXPECT_EQ(FindControlAs<QPushButton>(&progress, CProgressDialog::IdCancel)->text(), "&Cancel");
}
