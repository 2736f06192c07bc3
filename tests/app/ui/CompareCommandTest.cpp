// The main window's Compare and Report, driven as the user drives them: the
// buttons, the menu and the windows they open, with real input events.
#include "app/ui/CReportDialog.h"
#include "app/ui/MainWindowFixture.h"
#include "base/CResourceDatabase.h"
#include "base/CResourceManager.h"
#include "base/TextConvert.h"
#include "catalog/CIOCardType.h"
#include "rack/CCardSlot.h"
#include "rack/CRackComparison.h"
#include "rack/ui/CCompareDialog.h"
#include "rack/ui/CProgressDialog.h"
#include "station/CSimulatedStation.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <regex>

using k52test::MainWindowTest;
using k52test::WhenModalShown;
using k52test::WhenPopupShown;

namespace {

// Answers the file questions in turn, as the user would one after another.
class QueuedFileChooser : public CFileChooser {
public:
    QueuedFileChooser(std::deque<std::wstring> answers, std::vector<std::wstring>& filters)
        : m_answers(std::move(answers)), m_filters(filters) {}
    std::optional<std::wstring> ChooseFileToOpen(QWidget*, const std::wstring& filter) override {
        return Next(filter);
    }
    std::optional<std::wstring> ChooseFileToSave(QWidget*, const std::wstring& filter) override {
        return Next(filter);
    }

private:
    std::optional<std::wstring> Next(const std::wstring& filter) {
        m_filters.push_back(filter);
        if (m_answers.empty()) {
            return std::nullopt;
        }
        std::wstring answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    std::deque<std::wstring> m_answers;
    std::vector<std::wstring>& m_filters;
};

// Runs action on every compare window that opens while it lives, so that a
// window that should not open is seen (and closed) rather than left waiting.
class CompareWindowWatch {
public:
    explicit CompareWindowWatch(std::function<void(CCompareDialog&)> action) : m_action(std::move(action)) {
        Poll();
    }
    ~CompareWindowWatch() { *m_alive = false; }
    CompareWindowWatch(const CompareWindowWatch&) = delete;
    CompareWindowWatch& operator=(const CompareWindowWatch&) = delete;

    int Seen() const { return m_seen; }

private:
    void Poll() {
        QTimer::singleShot(10, [this, alive = m_alive] {
            if (!*alive) {
                return;
            }
            auto* dialog = qobject_cast<CCompareDialog*>(QApplication::activeModalWidget());
            if (dialog != nullptr && dialog->isVisible()) {
                ++m_seen;
                m_action(*dialog);
                dialog->reject();
            }
            Poll();
        });
    }

    std::function<void(CCompareDialog&)> m_action;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    int m_seen = 0;
};

QStringList RowTexts(const QTableWidget& table, int row) {
    QStringList texts;
    for (int column = 0; column < table.columnCount(); ++column) {
        texts << table.item(row, column)->text();
    }
    return texts;
}

QString Message(PlainMessageKey key) {
    return QString::fromStdWString(CResourceManager::GetMessage(key));
}

int RowOf(const CCardInterface& card, const std::wstring& key) {
    for (int row = 0; row < card.GetParameterCount(); ++row) {
        if (card.GetParameter(row).textKey != nullptr && key == card.GetParameter(row).textKey) {
            return row;
        }
    }
    ADD_FAILURE() << ToUtf8(key);
    return 0;
}

class CompareCommandTest : public MainWindowTest {
protected:
    // The window on a station of these modules, uploaded, with the test
    // station chosen as the port. Each test has a station of its own: a
    // station lives as long as the process.
    CK52CONDlg& OpenUploaded(const std::wstring& path) {
        m_station = GetSimulatedStation(path);
        m_station->ClearFaults();
        CK52CONDlg& window = OpenWindow(path);
        auto* ports = Control<QComboBox>(CK52CONDlg::IdPortCombo);
        ports->setFocus();
        QTest::keyClick(ports, Qt::Key_End);
        QTest::keyClick(ports, Qt::Key_Up);
        Click(CK52CONDlg::IdUpload);
        EXPECT_TRUE(m_errors.Texts().empty());
        return window;
    }

    // Compare, then the menu's entry (1: the station, 2: a file) by keyboard.
    void Compare(int entry) {
        WhenPopupShown([entry](QWidget* menu) {
            for (int i = 0; i < entry; ++i) {
                QTest::keyClick(menu, Qt::Key_Down);
            }
            QTest::keyClick(menu, Qt::Key_Return);
        });
        Click(CK52CONDlg::IdCompare);
    }

    std::vector<const CCardInterface*> Cards() const {
        std::vector<const CCardInterface*> cards;
        cards.reserve(CCardSlot::kSlotCount);
        for (int slot = 0; slot < CCardSlot::kSlotCount; ++slot) {
            cards.push_back(m_window->GetRack().GetCard(slot).get());
        }
        return cards;
    }

    std::shared_ptr<CSimulatedStation> m_station;
};

} // namespace

TEST_F(CompareCommandTest, CompareWithTheStationListsWhatChangedThereAndLeavesTheWindowAlone) {
    CK52CONDlg& window = OpenUploaded(L"sim:0=K52HQ8,1=JK7W,3=KZ9W");
    const std::vector<const CCardInterface*> before = Cards();
    // Someone changed channel 1's gain at the station since.
    ASSERT_EQ(m_station->SetValue(1, 1, 0x0b, L"1.2500"), 0);
    const CCardInterface& card = *window.GetRack().GetCard(1);
    const QString caption = QString::fromStdWString(card.GetCaption(RowOf(card, L"gain01")));

    QStringList shown;
    QString summary;
    QStringList headings;
    auto watch = std::make_unique<CompareWindowWatch>([&](CCompareDialog& dialog) {
        ASSERT_EQ(dialog.Differences()->rowCount(), 1);
        shown = RowTexts(*dialog.Differences(), 0);
        summary = dialog.Summary()->text();
        for (int column = 0; column < CCompareDialog::ColumnCount; ++column) {
            headings << dialog.Differences()->horizontalHeaderItem(column)->text();
        }
    });
    Compare(1);

    EXPECT_TRUE(m_errors.Texts().empty());
    EXPECT_EQ(watch->Seen(), 1);
    watch.reset();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("IO01"), caption, QStringLiteral("1.0000"), QStringLiteral("1.2500")}));
    EXPECT_EQ(summary, QString::fromStdWString(CResourceManager::FormatMessage(Msg::cmp_counts, 0, 1)));
    EXPECT_EQ(headings, (QStringList{Message(Msg::cmp_colslot), Message(Msg::cmp_colcaption),
                                     Message(Msg::cmp_colwindow), Message(Msg::cmp_colstation)}));
    // The window's rack holds the very cards it held, with their values.
    EXPECT_EQ(Cards(), before);
    EXPECT_EQ(card.GetStoredValueText(RowOf(card, L"gain01")), L"1.0000");

    // Only the checked slots are read and compared: without slot 1, nothing differs.
    QTest::mouseClick(Control<QAbstractButton>(CK52CONDlg::IdAllOnOff), Qt::LeftButton);
    CompareWindowWatch none([&](CCompareDialog& dialog) { summary = dialog.Summary()->text(); });
    Compare(1);
    EXPECT_EQ(summary, Message(Msg::cmp_equal));
}

TEST_F(CompareCommandTest, CompareWithAFileAndACancelledCompare) {
    OpenUploaded(L"sim:0=K52HQ8,1=JK7W,3=KZ9W,6=QB9W");
    k52test::TempDir dir;
    CCardSlot other = m_window->GetRack();
    other.SetCard(1, CCardSlot::CopyCard(*other.GetCard(1), 1));
    other.GetCard(1)->SetFromText(RowOf(*other.GetCard(1), L"gain01"), L"1.25");
    other.SetCard(3, CIOCardType().CreateByName(L"QB9W"));
    other.SaveToFile(dir.file("other.cfg"));
    AnswerFileDialogs(dir.file("other.cfg"));

    QStringList module;
    QString rightHeading;
    {
        CompareWindowWatch watch([&](CCompareDialog& dialog) {
            // Slot by slot: channel 1's gain, then the other module, whose rows are not compared.
            ASSERT_EQ(dialog.Differences()->rowCount(), 2);
            EXPECT_EQ(RowTexts(*dialog.Differences(), 0).mid(0, 1), QStringList{QStringLiteral("IO01")});
            EXPECT_EQ(RowTexts(*dialog.Differences(), 0).mid(2), (QStringList{QStringLiteral("1.0000"), QStringLiteral("1.2500")}));
            module = RowTexts(*dialog.Differences(), 1);
            rightHeading = dialog.Differences()->horizontalHeaderItem(CCompareDialog::ColumnRight)->text();
            EXPECT_TRUE(dialog.Differences()->item(1, 0)->font().bold()) << "a module stands out";
            EXPECT_FALSE(dialog.Differences()->item(0, 0)->font().bold());
            // For the README: K52_SCREENSHOT_COMPARE names the picture to write.
            if (const char* screenshot = std::getenv("K52_SCREENSHOT_COMPARE")) {
                QTest::qWait(50);
                EXPECT_TRUE(dialog.grab().save(QString::fromLocal8Bit(screenshot)));
            }
        });
        Compare(2);
        EXPECT_EQ(watch.Seen(), 1);
    }
    EXPECT_EQ(module, (QStringList{QStringLiteral("IO03"), Message(Msg::cmp_module), QStringLiteral("KZ9W"),
                                   QStringLiteral("QB9W")}));
    EXPECT_EQ(rightHeading, Message(Msg::cmp_colfile));
    EXPECT_EQ(m_fileLog->filterTexts.back(), CResourceManager::GetMessage(Msg::fopenfilter));

    // A station that does not answer in time: Cancel ends the reading, and
    // neither a compare window nor a message follows.
    m_station->InjectFault(
        StationFault::AtRequest(2, StationFault::Kind::LateReply).WithDelay(std::chrono::milliseconds(8000)));
    const std::vector<const CCardInterface*> before = Cards();
    CompareWindowWatch watch([](CCompareDialog&) {});
    WhenModalShown([](QWidget* modal) {
        QTest::qWait(2 * CProgressDialog::kPollMilliseconds);
        QTest::mouseClick(FindControlAs<QPushButton>(modal, CProgressDialog::IdCancel), Qt::LeftButton);
    });
    QElapsedTimer clock;
    clock.start();
    Compare(1);
    EXPECT_LT(clock.elapsed(), 5000);
    m_station->ClearFaults();
    EXPECT_EQ(watch.Seen(), 0);
    EXPECT_TRUE(m_errors.Texts().empty());
    EXPECT_EQ(Cards(), before);
}

TEST_F(CompareCommandTest, ReportSavesThePageOrAPdfWithTheStateAsFound) {
    CK52CONDlg& window = OpenUploaded(L"sim:0=K52HQ8,1=JK7W,4=KZ9W");
    k52test::TempDir dir;
    // As found: the gain of channel 1 was 2.
    CCardSlot found;
    found.LoadFromFile([&] {
        window.GetRack().SaveToFile(dir.file("now.cfg"));
        return dir.file("now.cfg");
    }());
    CCardInterface& foundCard = *found.GetCard(1);
    foundCard.SetFromText(RowOf(foundCard, L"gain01"), L"2");
    found.SaveToFile(dir.file("found.cfg"));

    std::vector<std::wstring> filters;
    for (const bool pdf : {false, true}) {
        SCOPED_TRACE(pdf ? "PDF" : "HTML");
        const std::wstring output = dir.file(pdf ? "report.pdf" : "report.html");
        window.SetFileChooser(std::make_unique<QueuedFileChooser>(
            std::deque<std::wstring>{dir.file("found.cfg"), output}, filters));
        WhenModalShown([pdf](QWidget* dialog) {
            auto* title = FindControlAs<QLineEdit>(dialog, CReportDialog::IdTitle);
            title->setFocus();
            QTest::keyClick(title, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(title, QStringLiteral("Pump station 3"));
            QTest::mouseClick(FindControlAs<QPushButton>(dialog, CReportDialog::IdChooseAsFound), Qt::LeftButton);
            EXPECT_EQ(FindControlAs<QLineEdit>(dialog, CReportDialog::IdAsFound)->text(), QStringLiteral("found.cfg"));
            if (pdf) {
                // On the button's circle: a radio button answers on its circle and its text only.
                auto* radio = FindControlAs<QRadioButton>(dialog, CReportDialog::IdPdf);
                QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(radio->height() / 2, radio->height() / 2));
                EXPECT_TRUE(radio->isChecked());
            }
            QTest::mouseClick(FindControlAs<QPushButton>(dialog, CReportDialog::IdSave), Qt::LeftButton);
        });
        Click(CK52CONDlg::IdReport);
        EXPECT_EQ(m_errors.Texts().size(), 0u);
        const std::string written = k52test::ReadFile(std::filesystem::path(output));
        if (pdf) {
            EXPECT_EQ(written.rfind("%PDF-", 0), 0u);
            EXPECT_NE(written.find("%%EOF"), std::string::npos);
            EXPECT_EQ(filters.back(), CResourceManager::GetMessage(Msg::report_pdffilter));
        } else {
            EXPECT_NE(written.find("<h1>Pump station 3</h1>"), std::string::npos);
            EXPECT_NE(written.find("<td>found.cfg</td>"), std::string::npos);
            EXPECT_NE(written.find("<td>2.0000</td><td>1.0000</td>"), std::string::npos);
            EXPECT_EQ(filters.back(), CResourceManager::GetMessage(Msg::report_htmlfilter));
        }
    }
}

TEST_F(CompareCommandTest, ALanguageFileWrittenBeforeCompareAndReportKeepsTheirEnglish) {
    // A translation made before these windows and buttons existed: the rest
    // of the window is translated as before, the new parts keep their English.
    k52test::TempDir directory;
    const std::string japanese =
        k52test::ReadFile(std::filesystem::path(ToUtf8(GetModuleDirectory())) / "Japanese.lng");
    const std::regex added(R"re(<gui name="16[01]">[\s\S]*?</gui>|<text name="104[01]">[^<]*</text>)re");
    k52test::WriteFile(directory.path() / "Older.lng", std::regex_replace(japanese, added, ""));
    m_profile->WriteString(L"Settings", L"DisplayLanguage", directory.file("Older.lng"));

    OpenWindow();
    EXPECT_EQ(Control<QPushButton>(CK52CONDlg::IdUpload)->text(), QStringLiteral("アップロード(&U)"));
    EXPECT_EQ(Control<QPushButton>(CK52CONDlg::IdCompare)->text(), QStringLiteral("&Compare"));
    EXPECT_EQ(Control<QPushButton>(CK52CONDlg::IdReport)->text(), QStringLiteral("&Report"));
    const CCardSlot rack;
    const CCompareDialog compare(CRackComparison(rack, rack), rack, L"");
    EXPECT_EQ(compare.windowTitle(), QStringLiteral("Compare"));
    CFileChooser chooser;
    const CReportDialog report(rack, chooser);
    EXPECT_EQ(report.windowTitle(), QStringLiteral("Commissioning report"));
    EXPECT_TRUE(m_errors.Texts().empty());
}
