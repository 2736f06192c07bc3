#include "app/ui/MainWindowFixture.h"
#include "base/CResourceManager.h"
#include "base/TextConvert.h"
#include "base/ui/CErrorBox.h"
#include "catalog/CCOMCardType.h"
#include "catalog/CIOCardType.h"
#include "link/CComSettings.h"
#include "rack/CCardSlot.h"
#include "rack/ui/CProgressDialog.h"
#include "station/CSimulatedStation.h"
#include "support/MessageUses.h"

#include "editing/ui/CParameterListCtrl.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

using k52test::MainWindowTest;
using k52test::WhenModalShown;

namespace {

class TransferCommandTest : public MainWindowTest {
protected:
    // The station behind a path, as it was made: no faults, no log.
    std::shared_ptr<CSimulatedStation> Station(const std::wstring& path) {
        std::shared_ptr<CSimulatedStation> station = GetSimulatedStation(path);
        EXPECT_NE(station, nullptr);
        station->ClearFaults();
        station->ClearRequestLog();
        return station;
    }

    // Chooses a port in the combo with the keyboard: End is the demo
    // station, one up from it the test station.
    void ChoosePort(bool demo) {
        auto* ports = Control<QComboBox>(CK52CONDlg::IdPortCombo);
        ports->setFocus();
        QTest::keyClick(ports, Qt::Key_End);
        if (!demo) {
            QTest::keyClick(ports, Qt::Key_Up);
        }
    }

    // Leaves only the given rows checked, by the user's own means.
    void CheckOnly(std::initializer_list<int> rows) {
        // The box shows whether every slot is checked: a click from there
        // unchecks them all, from anything less it checks them all first.
        Click(CK52CONDlg::IdAllOnOff);
        if (m_window->SlotList()->GetCheckedMask() != 0) {
            Click(CK52CONDlg::IdAllOnOff);
        }
        for (int row : rows) {
            ClickSlotRow(row);
            QTest::keyClick(m_window->SlotList()->viewport(), Qt::Key_Space);
        }
    }

    std::vector<CCardInterface*> Cards() const {
        std::vector<CCardInterface*> cards;
        cards.reserve(17);
        for (int slot = 0; slot < 17; ++slot) {
            cards.push_back(m_window->GetRack().GetCard(slot).get());
        }
        return cards;
    }

    QStringList CardTexts() const {
        QStringList texts;
        for (int slot = 0; slot < 17; ++slot) {
            texts << CardText(slot);
        }
        return texts;
    }

    void ExpectPortSaved(const std::wstring& path, const std::wstring& name) {
        CComSettings saved(*m_profile);
        EXPECT_EQ(saved.GetDevicePath(), path);
        EXPECT_EQ(saved.GetDisplayName(), name);
    }
};

std::wstring ModelOf(const CCardSlot::CardHandle& card) {
    return card->GetCardName().GetModelName();
}

} // namespace

TEST_F(TransferCommandTest, UploadOfRowsZeroAndThreeChangesOnlyThoseSlots) {
    const std::wstring path = L"sim:0=K52HQ8,1=JK7W,3=KZ9W";
    Station(path);
    m_profile->WriteInt(L"ComSettings", L"COMPort", 7);
    CK52CONDlg& window = OpenWindow(path);
    ChoosePort(false);
    std::vector<CCardInterface*> before = Cards();

    // With no row checked the upload reads the station but takes nothing.
    CheckOnly({});
    Click(CK52CONDlg::IdUpload);
    EXPECT_TRUE(m_errors.Texts().empty());
    EXPECT_EQ(Cards(), before);

    CheckOnly({0, 3});
    ASSERT_EQ(window.SlotList()->GetCheckedMask(), 0b1001u);
    ClickSlotRow(0);
    Click(CK52CONDlg::IdUpload);

    EXPECT_TRUE(m_errors.Texts().empty()) << (m_errors.Texts().empty() ? "" : ToUtf8(m_errors.Texts()[0]));
    const CCardSlot& rack = window.GetRack();
    EXPECT_EQ(ModelOf(rack.GetCard(0)), L"K52HQ8");
    EXPECT_EQ(ModelOf(rack.GetCard(3)), L"KZ9W");
    // The station's module in slot 1 was not asked for.
    std::vector<CCardInterface*> after = Cards();
    for (int slot = 0; slot < 17; ++slot) {
        if (slot != 0 && slot != 3) {
            EXPECT_EQ(after[static_cast<std::size_t>(slot)], before[static_cast<std::size_t>(slot)]) << slot;
        }
    }
    EXPECT_EQ(CardText(0), QString::fromStdWString(rack.GetCard(0)->GetCardName().GetShortName()));
    EXPECT_EQ(CardText(3), QString::fromStdWString(rack.GetCard(3)->GetCardName().GetShortName()));
    EXPECT_EQ(Control<QPushButton>(CK52CONDlg::IdModelButton)->text(),
              QStringLiteral(" ") + QString::fromStdWString(rack.GetCard(0)->GetCardName().GetLongName()));
    ExpectPortSaved(path, k52test::kTestStationName);
    EXPECT_EQ(m_profile->GetInt(L"ComSettings", L"COMPort", 0), 7);
}

TEST_F(TransferCommandTest, AFailedUploadIsShownAfterTheProgressWindowAndChangesNothing) {
    const std::wstring path = L"sim:0=K52HQ8,2=QZ7W";
    std::shared_ptr<CSimulatedStation> station = Station(path);
    station->InjectFault(StationFault::AtRequest(3, StationFault::Kind::ErrorStatus).WithStatus(1));
    CK52CONDlg& window = OpenWindow(path);
    ChoosePort(false);
    std::vector<CCardInterface*> before = Cards();
    QStringList textsBefore = CardTexts();

    std::vector<std::wstring> shown;
    bool shownOverProgress = false;
    CErrorBox::SetPresenter([&](QWidget*, const std::wstring& text) {
        shown.push_back(text);
        shownOverProgress |= qobject_cast<CProgressDialog*>(QApplication::activeModalWidget()) != nullptr;
    });
    Click(CK52CONDlg::IdUpload);

    ASSERT_EQ(shown.size(), 1u);
    const std::wstring uploadErr = k52test::RawMessage(Msg::uploaderr);
    EXPECT_EQ(shown[0].substr(0, uploadErr.find(L'\n')), uploadErr.substr(0, uploadErr.find(L'\n')));
    EXPECT_FALSE(shownOverProgress);
    EXPECT_EQ(Cards(), before);
    EXPECT_EQ(CardTexts(), textsBefore);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(TransferCommandTest, CancelEndsAnUploadWithoutAMessage) {
    const std::wstring path = L"sim:0=K52HQ8,4=KZ9W";
    std::shared_ptr<CSimulatedStation> station = Station(path);
    station->InjectFault(
        StationFault::AtRequest(2, StationFault::Kind::LateReply).WithDelay(std::chrono::milliseconds(8000)));
    OpenWindow(path);
    ChoosePort(false);
    std::vector<CCardInterface*> before = Cards();

    WhenModalShown([&](QWidget* modal) {
        QTest::qWait(2 * CProgressDialog::kPollMilliseconds);
        QTest::mouseClick(FindControlAs<QPushButton>(modal, CProgressDialog::IdCancel), Qt::LeftButton);
    });
    QElapsedTimer clock;
    clock.start();
    Click(CK52CONDlg::IdUpload);

    EXPECT_LT(clock.elapsed(), 5000) << "the pending read was not interrupted";
    EXPECT_TRUE(m_errors.Texts().empty());
    EXPECT_EQ(Cards(), before);
}

TEST_F(TransferCommandTest, DownloadToAStationWithAnotherModuleInAChosenSlotIsRefused) {
    // The COM module matches the new rack's; slot 2 does not.
    const std::wstring comModel = CCOMCardType().CreateByCode(0)->GetCardName().GetModelName();
    const std::wstring path = L"sim:0=" + comModel + L",2=KZ9W";
    std::shared_ptr<CSimulatedStation> station = Station(path);
    m_profile->WriteString(L"ComSettings", L"COMPortDisplayName", L"COM2");
    OpenWindow(path);
    ChoosePort(false);

    Click(CK52CONDlg::IdDownload);

    ASSERT_EQ(m_errors.Texts().size(), 1u);
    EXPECT_EQ(m_errors.Texts()[0],
              CResourceManager::FormatMessage(Msg::downloaderr,
                                              CResourceManager::FormatMessage(Msg::difcarderr, 2)));
    // The choice was stored although the command failed.
    ExpectPortSaved(path, k52test::kTestStationName);

    // Without slot 2 among the chosen, the same station takes the download.
    CheckOnly({0, 1, 3});
    Click(CK52CONDlg::IdDownload);
    EXPECT_EQ(m_errors.Texts().size(), 1u);
}

TEST_F(TransferCommandTest, AFileWithAValueTheListWouldRefuseOpensButIsNeitherDownloadedNorSavedOverAFifo) {
    const std::wstring comModel = CCOMCardType().CreateByCode(0)->GetCardName().GetModelName();
    const std::wstring path = L"sim:0=" + comModel + L",1=JK7W";
    std::shared_ptr<CSimulatedStation> station = Station(path);
    // A file whose channel 1 gain (item 010b of slot 1) was typed over by hand.
    k52test::TempDir directory;
    const std::wstring file = directory.file("plant.cfg");
    CCardSlot saved;
    saved.Clear();
    saved.SetCard(1, CIOCardType().CreateByName(L"JK7W"));
    saved.SaveToFile(file);
    std::string text = k52test::ReadFile(directory.path() / "plant.cfg");
    const std::string gain = "<parameter item=\"010b\">10000</parameter>";
    ASSERT_NE(text.find(gain), std::string::npos);
    text.replace(text.find(gain), gain.size(), "<parameter item=\"010b\">abc</parameter>");
    k52test::WriteFile(directory.path() / "plant.cfg", text);

    m_profile->WriteString(L"ComSettings", L"COMPortDisplayName", L"COM2");
    CK52CONDlg& window = OpenWindow(path);
    ChoosePort(false);
    AnswerFileDialogs(file);
    Click(CK52CONDlg::IdOpenFile);
    EXPECT_TRUE(m_errors.Texts().empty());

    // The list shows the file's text, marked, for the user to mend.
    ClickSlotRow(1);
    CParameterListCtrl* parameters = window.ParameterList();
    const CCardSlot::CardHandle card = window.GetRack().GetCard(1);
    QString shown;
    std::wstring caption;
    for (int row = 0; row < parameters->GetRowCount(); ++row) {
        if (std::wstring(card->GetParameter(parameters->ParameterOfRow(row)).textKey) == L"gain01") {
            shown = parameters->RowItem(row)->text(CParameterListCtrl::ColumnValue);
            caption = card->GetCaption(parameters->ParameterOfRow(row));
        }
    }
    EXPECT_EQ(shown, QStringLiteral("?abc"));

    Click(CK52CONDlg::IdDownload);
    ASSERT_EQ(m_errors.Texts().size(), 1u);
    EXPECT_EQ(m_errors.Texts()[0],
              CResourceManager::FormatMessage(
                  Msg::downloaderr, CResourceManager::FormatNumberedMessage(
                                        Msg::downvalueerr, std::wstring(L"IO01"), caption,
                                        std::wstring(L"abc"),
                                        CResourceManager::FormatNumberedMessage(Msg::inperr_named, caption,
                                                                                std::wstring(L"-3.2000"),
                                                                                std::wstring(L"3.2000")))));
    EXPECT_EQ(station->GetRequestCount(), 0u) << "the station heard something";

    // Save File onto a FIFO: refused, the FIFO stays, the file name too.
    const std::filesystem::path fifo = directory.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    AnswerFileDialogs(fifo.wstring());
    Click(CK52CONDlg::IdSaveFile);
    ASSERT_EQ(m_errors.Texts().size(), 2u);
    EXPECT_EQ(m_errors.Texts()[1], L"Cannot write the file \"" + fifo.wstring() +
                                       L"\": it is a named pipe (FIFO), not a regular file.");
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_EQ(Control<QLabel>(CK52CONDlg::IdFileName)->text(), QStringLiteral("Filename : plant.cfg"));
}

TEST_F(TransferCommandTest, UploadFromTheDemoStationThroughThePortChoice) {
    std::shared_ptr<CSimulatedStation> station = Station(L"sim:");
    CK52CONDlg& window = OpenWindow();
    ChoosePort(true);
    Click(CK52CONDlg::IdUpload);
    ASSERT_TRUE(m_errors.Texts().empty());
    ExpectPortSaved(L"sim:", CComPortList::kDemoStationName);

    // Every slot shows what the station holds.
    const CStationLineUp& lineUp = station->GetLineUp();
    CIOCardType registry;
    for (int slot = 1; slot < 17; ++slot) {
        CCardSlot::CardHandle card = window.GetRack().GetCard(slot);
        EXPECT_EQ(CardText(slot), QString::fromStdWString(card->GetCardName().GetShortName())) << slot;
        EXPECT_EQ(card->GetTypeCode() != 0, !lineUp.GetModel(slot).empty()) << slot;
    }

    ClickSlotRow(1);
    EXPECT_EQ(ModelOf(window.GetRack().GetCard(1)), L"JK7W");
    // For the README: K52_SCREENSHOT names the picture to write.
    if (const char* screenshot = std::getenv("K52_SCREENSHOT")) {
        QTest::qWait(50);
        EXPECT_TRUE(window.grab().save(QString::fromLocal8Bit(screenshot)));
    }
}
