#include "app/ui/MainWindowFixture.h"
#include "base/TextConvert.h"
#include "rack/ui/CProgressDialog.h"
#include "station/CSimulatedStation.h"
#include "station/CStationPtyServer.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>

#include <QElapsedTimer>

#include <chrono>
#include <filesystem>
#include <memory>

using k52test::AnswerUnsavedQuestion;
using k52test::MainWindowTest;
using k52test::TempDir;
using k52test::WhenModalShown;
using k52test::WhenPopupShown;

namespace {

class UnsavedWorkTest : public MainWindowTest {
protected:
    // Changes the model of slot 1 through the model button's menu.
    void ChangeSlotOne() {
        ClickSlotRow(1);
        WhenPopupShown([](QWidget* popup) {
            auto* menu = qobject_cast<QMenu*>(popup);
            menu->setActiveAction(menu->actions().at(3));
            QTest::keyClick(menu, Qt::Key_Return);
        });
        Click(CK52CONDlg::IdModelButton);
        ASSERT_EQ(m_window->GetChangedSlots(), 0b10u);
        ASSERT_TRUE(m_window->windowTitle().startsWith(QLatin1Char('*')));
    }

    int ModelOfSlotOne() const { return m_window->GetRack().GetCard(1)->GetTypeCode(); }
};

TEST_F(UnsavedWorkTest, CloseAsksAndEachAnswerDoesWhatItSays) {
    TempDir directory;
    OpenWindow();
    ChangeSlotOne();

    // Cancel (Escape, the default) keeps the window and its change.
    WhenModalShown([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
    QTest::keyClick(m_window.get(), Qt::Key_F4, Qt::AltModifier);
    m_window->close();
    EXPECT_TRUE(m_window->isVisible());
    EXPECT_EQ(m_window->GetChangedSlots(), 0b10u);

    // Save asks for the file, writes it and lets the window close.
    AnswerFileDialogs(directory.file("kept.cfg"));
    AnswerUnsavedQuestion(QStringLiteral("Save..."));
    m_window->close();
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_TRUE(std::filesystem::exists(directory.path() / "kept.cfg"));
    EXPECT_EQ(m_window->GetChangedSlots(), 0u);
    EXPECT_TRUE(m_window->StatusLine()->currentMessage().startsWith(QStringLiteral("Saved kept.cfg at ")));
}

TEST_F(UnsavedWorkTest, OpenAndUploadAskBeforeReplacingAChangedSlot) {
    TempDir directory;
    OpenWindow();
    AnswerFileDialogs(directory.file("plain.cfg"));
    Click(CK52CONDlg::IdSaveFile);
    ChangeSlotOne();
    const int changed = ModelOfSlotOne();

    // Open: Cancel leaves the rack, a cancelled save as well, Discard opens.
    AnswerUnsavedQuestion(QStringLiteral("Cancel"));
    Click(CK52CONDlg::IdOpenFile);
    EXPECT_EQ(ModelOfSlotOne(), changed);
    AnswerFileDialogs(std::nullopt);
    AnswerUnsavedQuestion(QStringLiteral("Save..."));
    Click(CK52CONDlg::IdOpenFile);
    EXPECT_EQ(ModelOfSlotOne(), changed);
    AnswerFileDialogs(directory.file("plain.cfg"));
    AnswerUnsavedQuestion(QStringLiteral("Discard"));
    Click(CK52CONDlg::IdOpenFile);
    EXPECT_EQ(ModelOfSlotOne(), 0);
    EXPECT_FALSE(m_window->windowTitle().startsWith(QLatin1Char('*')));

    // Upload from the demo station: asked only when it would overwrite the
    // changed slot; Discard reads the station.
    auto* ports = Control<QComboBox>(CK52CONDlg::IdPortCombo);
    ports->setFocus();
    QTest::keyClick(ports, Qt::Key_End);
    ChangeSlotOne();
    AnswerUnsavedQuestion(QStringLiteral("Cancel"));
    Click(CK52CONDlg::IdUpload);
    EXPECT_EQ(ModelOfSlotOne(), changed);
    AnswerUnsavedQuestion(QStringLiteral("Discard"));
    Click(CK52CONDlg::IdUpload);
    EXPECT_EQ(m_window->GetChangedSlots(), 0u);
    EXPECT_TRUE(m_window->StatusLine()->currentMessage().startsWith(
        QStringLiteral("Uploaded 17 modules from Demo station (simulated) at ")));
    EXPECT_TRUE(Control<QLabel>(CK52CONDlg::IdFileName)->text().startsWith(QStringLiteral("Filename : From the station")));
    EXPECT_TRUE(m_errors.Texts().empty());
}

// "Other port..." reaches a station the list does not know: a pseudo-terminal
// behind a link, as k52sim --link makes one.
TEST_F(UnsavedWorkTest, OtherPortReachesAStationOnAPseudoTerminalAndAStoredMissingPathStaysChosen) {
    TempDir directory;
    CStationLineUp lineUp;
    lineUp.SetModel(1, L"JK7W");
    auto station = std::make_shared<CSimulatedStation>(lineUp);
    CStationPtyServer server(station);
    server.Start();
    std::filesystem::create_symlink(server.GetDevicePath(), directory.path() / "link");
    OpenWindow();
    auto* ports = Control<QComboBox>(CK52CONDlg::IdPortCombo);
    const int other = m_window->OtherPortEntry();
    const QString before = ports->currentText();
    auto choose = [&](const QString& typed) {
        WhenModalShown([typed](QWidget* dialog) {
            auto* field = dialog->findChild<QLineEdit*>();
            field->selectAll();
            QTest::keyClicks(field, typed);
            QTest::keyClick(field, Qt::Key_Return);
        });
        ports->setCurrentIndex(other);
        emit ports->activated(other);
    };
    // A plain file is refused and the choice before stays.
    k52test::WriteFile(directory.path() / "plain", "x");
    choose(QString::fromStdString((directory.path() / "plain").string()));
    ASSERT_EQ(m_errors.Texts().size(), 1u);
    EXPECT_EQ(ports->currentText(), before);
    // A link to a character device is taken, kept in the list and stored.
    const QString link = QString::fromStdString((directory.path() / "link").string());
    choose(link);
    EXPECT_EQ(ports->currentText(), link);
    EXPECT_EQ(ports->itemText(ports->count() - 1), QStringLiteral("Other port..."));
    EXPECT_EQ(m_profile->GetString(L"ComSettings", L"COMPortName", L""), link.toStdWString());

    // An upload goes there: Cancel in its progress window ends it with no
    // message and the rack as it was ...
    station->InjectFault(
        StationFault::AtRequest(2, StationFault::Kind::LateReply).WithDelay(std::chrono::milliseconds(2500)));
    const int modelBefore = ModelOfSlotOne();
    bool progressShown = false;
    WhenModalShown([&](QWidget* modal) {
        progressShown = qobject_cast<CProgressDialog*>(modal) != nullptr;
        QTest::qWait(2 * CProgressDialog::kPollMilliseconds);
        QTest::mouseClick(FindControlAs<QPushButton>(modal, CProgressDialog::IdCancel), Qt::LeftButton);
    });
    QElapsedTimer clock;
    clock.start();
    Click(CK52CONDlg::IdUpload);
    EXPECT_TRUE(progressShown);
    EXPECT_LT(clock.elapsed(), 2000) << "the pending read was not interrupted";
    EXPECT_EQ(m_errors.Texts().size(), 1u);
    EXPECT_EQ(ModelOfSlotOne(), modelBefore);
    // ... and the next one, once the late reply has gone by, reads the station.
    station->ClearFaults();
    QTest::qWait(2500);
    Click(CK52CONDlg::IdUpload);
    EXPECT_EQ(m_errors.Texts().size(), 1u) << ToUtf8(m_errors.Texts().back());
    EXPECT_EQ(m_window->GetRack().GetCard(1)->GetCardName().GetModelName(), L"JK7W");
    EXPECT_TRUE(m_window->StatusLine()->currentMessage().contains(link));

    // Gone by the next start, it stays the choice, and what fails names it.
    server.Stop();
    std::filesystem::remove(directory.path() / "link");
    m_window.reset();
    OpenWindow();
    EXPECT_EQ(Control<QComboBox>(CK52CONDlg::IdPortCombo)->currentText(), link);
    Click(CK52CONDlg::IdUpload);
    ASSERT_EQ(m_errors.Texts().size(), 2u) << ToUtf8(m_errors.Texts().back());
    EXPECT_NE(m_errors.Texts().back().find(link.toStdWString()), std::wstring::npos);
}

} // namespace
