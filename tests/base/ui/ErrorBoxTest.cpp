#include "base/CPrivateException.h"
#include "base/ui/CErrorBox.h"
#include "support/GuiTestSupport.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>

TEST(ErrorBox, ReportedErrorsReachThePresenterOnTheUsersThread) {
    k52test::ErrorBoxRecorder recorder;
    CPrivateException(FailureKind::Port, L"The port cannot be opened.").ReportError();
    EXPECT_EQ(recorder.Texts(), std::vector<std::wstring>{L"The port cannot be opened."});

    // From a worker the box cannot be shown at once: it comes later, from the
    // user's thread's event loop.
    std::thread worker([] { CPrivateException(FailureKind::Other, L"from a worker").ReportError(); });
    worker.join();
    EXPECT_EQ(recorder.Texts().size(), 1u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return recorder.Texts().size() == 2; }, 2000));
    EXPECT_EQ(recorder.Texts().back(), L"from a worker");
}

TEST(ErrorBox, ShowsAnErrorMessageBoxTitledWithTheApplication) {
    QGuiApplication::setApplicationDisplayName("K52CFG test");
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    k52test::WhenModalShown([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });

    CErrorBox::Show(nullptr, L"Can't read resource file \"x.lng\".");

    EXPECT_EQ(title, "K52CFG test");
    EXPECT_EQ(text, "Can't read resource file \"x.lng\".");
    EXPECT_EQ(icon, QMessageBox::Critical);
}
