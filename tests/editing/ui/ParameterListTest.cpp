#include "base/CObserver.h"
#include "base/ui/CErrorBox.h"
#include "catalog/CCOMCardType.h"
#include "catalog/CIOCardType.h"
#include "editing/ParameterListRules.h"
#include "editing/ui/CEditComboBox.h"
#include "editing/ui/CEditText.h"
#include "editing/ui/CListStepper.h"
#include "editing/ui/CParameterListCtrl.h"
#include "support/GuiTestSupport.h"
#include "support/TestSupport.h"

#include "catalog/CardTestHelpers.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

using k52test::ErrorBoxRecorder;

namespace {

struct CountingObserver : CObserver {
    int updates = 0;
    void Update(CObservable*) override { ++updates; }
};

// Two plain number rows under one heading, so that the last row of the list
// is one the text editor opens on; captions come from the JK7W section.
constexpr ParameterDefinition kTwoNumbers[] = {
    {KindGroup, L"ch01", 0, 0x00, 0, 0, 0, 0, 0, 0, L"", -1, 0, 0, 0},
    {KindDecimal16, L"zscale01", 1, 0x1a, -32000, 32000, 0, 10, 0, 1, L"ZSCALE01", -1, 0, 0, 0},
    {KindDecimal16, L"fscale01", 1, 0x1b, -32000, 32000, 10000, 10, 0, 1, L"FSCALE01", -1, 0, 0, 0},
};

QString Text(const std::wstring& text) {
    return QString::fromStdWString(text);
}

class ParameterListTest : public ::testing::Test {
protected:
    void SetUp() override {
        k52test::LoadEnglish();
        m_window.resize(520, 640);
        m_list = new CParameterListCtrl(&m_window);
        m_list->setGeometry(0, 0, 520, 640);
        m_list->Initialize();
        m_list->Attach(&m_observer);
        m_window.show();
        m_window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
        m_list->setFocus();
    }

    std::shared_ptr<CCardInterface> Show(std::shared_ptr<CCardInterface> card) {
        m_list->ShowCard(card);
        return card;
    }
    std::shared_ptr<CCardInterface> ShowIO(const wchar_t* model) {
        return Show(CIOCardType().CreateByName(model));
    }
    std::shared_ptr<CCardInterface> ShowCOM(const wchar_t* model) {
        return Show(CCOMCardType().CreateByName(model));
    }

    // The list row of a parameter, -1 when the list does not show it.
    int RowOf(const CCardInterface& card, const wchar_t* key) const {
        const int parameter = k52test::RowOf(card, key);
        for (int row = 0; row < m_list->GetRowCount(); ++row) {
            if (m_list->ParameterOfRow(row) == parameter) {
                return row;
            }
        }
        return -1;
    }

    QString ValueText(int row) const { return m_list->RowItem(row)->text(CParameterListCtrl::ColumnValue); }
    QString NameText(int row) const { return m_list->RowItem(row)->text(CParameterListCtrl::ColumnName); }

    void Click(int row, int column) {
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, m_list->CellRect(row, column).center());
    }
    // As the window system delivers it: press, release, double click, release.
    void DoubleClick(int row, int column) {
        const QPoint point = m_list->CellRect(row, column).center();
        QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, point);
        QWidget* target = QApplication::widgetAt(m_list->viewport()->mapToGlobal(point));
        if (target == nullptr) {
            target = m_list->viewport();
        }
        QTest::mouseDClick(target, Qt::LeftButton, {},
                           target->mapFromGlobal(m_list->viewport()->mapToGlobal(point)));
        QTest::mouseRelease(target, Qt::LeftButton, {},
                            target->mapFromGlobal(m_list->viewport()->mapToGlobal(point)));
    }
    // Selecting by the name cell opens no editor in either mode.
    void Select(int row) { Click(row, CParameterListCtrl::ColumnName); }

    CEditText* TextEditor() { return m_list->Editors().TextEditor(); }
    CEditComboBox* Combo() { return m_list->Editors().ComboEditor(); }
    QAbstractItemView* Popup() { return Combo()->view(); }

    QColor Foreground(int row, int column) const { return m_list->RowItem(row)->foreground(column).color(); }
    QColor Background(int row, int column) const { return m_list->RowItem(row)->background(column).color(); }
    QColor GreyText() const { return m_list->palette().color(QPalette::Disabled, QPalette::Text); }
    QColor WindowText() const { return m_list->palette().color(QPalette::Active, QPalette::Text); }

    ErrorBoxRecorder m_errors;
    QWidget m_window;
    CParameterListCtrl* m_list = nullptr;
    CountingObserver m_observer;
};

} // namespace

TEST_F(ParameterListTest, ShowsTheCardsGroupsAsHeadingsAndItsRowsWithCaptionsAndValues) {
    auto card = ShowIO(L"JK7W");

    ASSERT_EQ(m_list->GetGroupCount(), 5);
    EXPECT_EQ(m_list->GroupItem(0)->text(CParameterListCtrl::ColumnName), "Channel 1");
    EXPECT_EQ(m_list->GroupItem(4)->text(CParameterListCtrl::ColumnName), "Common");
    // Four channels of fourteen rows and two common rows; headings are no rows.
    ASSERT_EQ(m_list->GetRowCount(), 4 * 13 + 2);

    const int bias = RowOf(*card, L"bias01");
    ASSERT_GE(bias, 0);
    EXPECT_EQ(NameText(bias), "Ch1 Bias");
    EXPECT_EQ(ValueText(bias), "0.00 (%)");
    EXPECT_EQ(m_list->RowItem(bias)->parent(), m_list->GroupItem(0));
    const int filter = RowOf(*card, L"FOLfilter04");
    EXPECT_EQ(ValueText(filter), "0.0 (s)");
    EXPECT_EQ(m_list->RowItem(filter)->parent(), m_list->GroupItem(3));
    const int simulation = RowOf(*card, L"simu");
    EXPECT_EQ(simulation, m_list->GetRowCount() - 1);
    EXPECT_EQ(ValueText(simulation), "Off");
    EXPECT_EQ(m_list->RowItem(simulation)->parent(), m_list->GroupItem(4));

    // The hidden column 0 carries the parameter index; headers are not shown.
    EXPECT_EQ(m_list->RowItem(bias)->data(0, CParameterListCtrl::kParameterRole).toInt(),
              k52test::RowOf(*card, L"bias01"));
    EXPECT_TRUE(m_list->isColumnHidden(CParameterListCtrl::ColumnHidden));
    EXPECT_TRUE(m_list->isHeaderHidden());
    const int width = m_list->viewport()->width();
    EXPECT_EQ(m_list->columnWidth(CParameterListCtrl::ColumnName), width * 5 / 9);
    EXPECT_EQ(m_list->columnWidth(CParameterListCtrl::ColumnName) +
                  m_list->columnWidth(CParameterListCtrl::ColumnValue),
              width);

    // Another card replaces every row and heading.
    ShowCOM(L"K52HQ8");
    ASSERT_EQ(m_list->GetGroupCount(), 2);
    EXPECT_EQ(m_list->GroupItem(0)->text(CParameterListCtrl::ColumnName), "TCP/IP");
    EXPECT_EQ(m_list->GetRowCount(), 10 + 2);
    EXPECT_EQ(ValueText(1), "192.168.0.1");
}

TEST_F(ParameterListTest, AdjustModeShowsAdjustmentAndCommandRowsOnlyOnceTheyWereRead) {
    auto counter = ShowIO(L"QB9W");
    EXPECT_EQ(RowOf(*counter, L"preset01"), -1) << "a one-shot command in the main window";
    EXPECT_GE(RowOf(*counter, L"upCount01"), 0);

    m_list->SetAdjustMode(true);
    counter = ShowIO(L"QB9W");
    EXPECT_EQ(m_list->GetRowCount(), 0) << "adjustment rows not read yet";

    counter->SetAdjustmentRead();
    m_list->Refill(false);
    EXPECT_GE(RowOf(*counter, L"preset01"), 0);
    EXPECT_GE(RowOf(*counter, L"preset02"), 0);
    EXPECT_EQ(RowOf(*counter, L"upCount01"), -1) << "neither adjustment nor command";

    auto input = CIOCardType().CreateByName(L"JK7W");
    input->SetAdjustmentRead();
    Show(std::move(input));
    // Bias and gain of four channels and the simulation switch.
    EXPECT_EQ(m_list->GetRowCount(), 9);
    for (int row = 0; row < m_list->GetRowCount(); ++row) {
        EXPECT_NE(NameText(row).indexOf(QRegularExpression("Bias|Gain|Simulation")), -1) << row;
    }
}

TEST_F(ParameterListTest, TypingADigitOpensTheEditorWithTheDigitInPlaceOfTheValueAndEnterCommitsOnce) {
    auto card = ShowIO(L"JK7W");
    const int filter = RowOf(*card, L"FOLfilter01");
    Select(filter);
    ASSERT_FALSE(TextEditor()->isVisible());

    QTest::keyClick(m_list, Qt::Key_5);

    ASSERT_TRUE(TextEditor()->isVisible());
    EXPECT_EQ(TextEditor()->text(), "5");
    EXPECT_TRUE(TextEditor()->hasFocus());
    EXPECT_EQ(TextEditor()->geometry(), m_list->CellRect(filter, CParameterListCtrl::ColumnValue));

    QTest::keyClick(TextEditor(), Qt::Key_Return);
    QTest::qWait(50);

    EXPECT_EQ(ValueText(filter), "5.0 (s)");
    EXPECT_EQ(card->GetStoredValue(k52test::RowOf(*card, L"FOLfilter01")), 50);
    EXPECT_EQ(m_observer.updates, 1) << "the focus loss after Enter is no second commit";
    EXPECT_TRUE(m_list->GetWriteRequest());
    EXPECT_FALSE(TextEditor()->isVisible());
    EXPECT_TRUE(m_list->hasFocus());
    EXPECT_TRUE(m_errors.Texts().empty());
    m_list->ClearWriteRequest();
    EXPECT_FALSE(m_list->GetWriteRequest());
}

TEST_F(ParameterListTest, EnterFromTheOwnerOpensTheStoredValueReadyToBeOverwritten) {
    auto card = ShowIO(L"JK7W");
    const int zeroBase = RowOf(*card, L"zbase01");
    Select(zeroBase);

    m_list->BeginEdit(-1, 0);

    ASSERT_TRUE(TextEditor()->isVisible());
    EXPECT_EQ(TextEditor()->text(), "0.000");
    EXPECT_EQ(TextEditor()->selectedText(), "0.000");
    QTest::keyClicks(TextEditor(), "-1");
    QTest::keyClick(TextEditor(), Qt::Key_Enter);
    EXPECT_EQ(ValueText(zeroBase), "-1.000");
    EXPECT_EQ(m_observer.updates, 1);
}

TEST_F(ParameterListTest, ABadValueShowsAMessageNamingTheRowAndKeepsTheOldValue) {
    auto card = ShowIO(L"JK7W");
    const int bias = RowOf(*card, L"bias01");

    struct Case {
        const char* typed;
        std::wstring message;
    };
    for (const Case& c : {Case{"400", L"Ch1 Bias: enter a value from -320.00 to 320.00."},
                          Case{"abc", L"Ch1 Bias: enter a number from -320.00 to 320.00."}}) {
        SCOPED_TRACE(c.typed);
        const std::size_t shownBefore = m_errors.Texts().size();
        Select(bias);
        m_list->BeginEdit(-1, 0);
        QTest::keyClicks(TextEditor(), c.typed);
        QTest::keyClick(TextEditor(), Qt::Key_Return);

        ASSERT_EQ(m_errors.Texts().size(), shownBefore + 1);
        EXPECT_EQ(m_errors.Texts().back(), c.message);
        EXPECT_EQ(ValueText(bias), "0.00 (%)");
        EXPECT_EQ(card->GetStoredValue(k52test::RowOf(*card, L"bias01")), 0);
        EXPECT_FALSE(m_list->GetWriteRequest()) << "nothing changed that the module must be told";
        EXPECT_TRUE(m_list->hasFocus());
    }
}

TEST_F(ParameterListTest, UpAndDownCommitAndReopenTheEditorOnTheNeighbouringRowWithinTheList) {
    auto card = ShowCOM(L"K52HQ8");
    Select(0);
    m_list->BeginEdit(-1, 0);
    ASSERT_TRUE(TextEditor()->isVisible());
    QTest::keyClicks(TextEditor(), "12.5");

    // Up on the first row commits and opens the first row again.
    QTest::keyClick(TextEditor(), Qt::Key_Up);
    EXPECT_EQ(ValueText(0), "12.5 (s)");
    ASSERT_TRUE(TextEditor()->isVisible());
    EXPECT_EQ(m_list->GetEditedParameter(), m_list->ParameterOfRow(0));
    EXPECT_EQ(TextEditor()->geometry(), m_list->CellRect(0, CParameterListCtrl::ColumnValue));
    EXPECT_EQ(TextEditor()->text(), "12.5");

    // Down commits and opens the next row, the IP address.
    QTest::keyClicks(TextEditor(), "15");
    QTest::keyClick(TextEditor(), Qt::Key_Down);
    EXPECT_EQ(ValueText(0), "15.0 (s)");
    ASSERT_TRUE(TextEditor()->isVisible());
    EXPECT_EQ(m_list->GetEditedParameter(), m_list->ParameterOfRow(1));
    EXPECT_EQ(TextEditor()->text(), "192.168.0.1");
    EXPECT_EQ(m_list->currentItem(), m_list->RowItem(1));
    EXPECT_EQ(m_observer.updates, 2);

    // Down on the last row commits and opens the last row again.
    auto numbers = std::make_shared<CCardInterface>(0, kTwoNumbers, std::span<const ChannelDefinition>());
    numbers->SetSectionName(L"JK7W");
    Show(numbers);
    ASSERT_EQ(m_list->GetRowCount(), 2);
    Select(1);
    m_list->BeginEdit(-1, 0);
    QTest::keyClicks(TextEditor(), "20000");
    QTest::keyClick(TextEditor(), Qt::Key_Down);
    EXPECT_EQ(ValueText(1), "20000");
    ASSERT_TRUE(TextEditor()->isVisible());
    EXPECT_EQ(m_list->GetEditedParameter(), 2);
    EXPECT_EQ(m_list->currentItem(), m_list->RowItem(1));
    EXPECT_EQ(TextEditor()->text(), "20000");
}

TEST_F(ParameterListTest, ADisabledRowOpensNoEditorAndIsDrawnGrey) {
    auto card = ShowIO(L"JK7W");
    // With a voltage range the unit means nothing.
    const int unit = RowOf(*card, L"unit01");
    const int use = RowOf(*card, L"unused01");

    Click(unit, CParameterListCtrl::ColumnValue);
    DoubleClick(unit, CParameterListCtrl::ColumnValue);
    QTest::keyClick(m_list, Qt::Key_7);
    m_list->BeginEdit(-1, 0);
    QTest::qWait(20);
    EXPECT_EQ(m_list->currentItem(), m_list->RowItem(unit));
    EXPECT_FALSE(Combo()->isVisible());
    EXPECT_FALSE(TextEditor()->isVisible());
    EXPECT_FALSE(Popup()->isVisible());
    EXPECT_EQ(m_observer.updates, 0);

    // The view draws the text with the item's foreground brush.
    EXPECT_EQ(Foreground(unit, CParameterListCtrl::ColumnName), GreyText());
    EXPECT_EQ(Foreground(unit, CParameterListCtrl::ColumnValue), GreyText());
    EXPECT_EQ(Foreground(use, CParameterListCtrl::ColumnValue), WindowText());
    EXPECT_NE(GreyText(), WindowText());

    // A read-only row likewise.
    const int version = RowOf(*card, L"version");
    Click(version, CParameterListCtrl::ColumnValue);
    EXPECT_FALSE(TextEditor()->isVisible());
    EXPECT_EQ(Foreground(version, CParameterListCtrl::ColumnValue), GreyText());
}

TEST_F(ParameterListTest, RowsAreTintedByParity) {
    ShowIO(L"JK7W");
    const QColor window = m_list->palette().color(QPalette::Active, QPalette::Base);
    auto tinted = [&](int percent) {
        const RgbColor c = TintColor({window.red(), window.green(), window.blue()}, percent);
        return QColor(c.red, c.green, c.blue);
    };
    EXPECT_EQ(Background(0, CParameterListCtrl::ColumnName), tinted(5));
    EXPECT_EQ(Background(0, CParameterListCtrl::ColumnValue), window);
    EXPECT_EQ(Background(1, CParameterListCtrl::ColumnName), tinted(10));
    EXPECT_EQ(Background(1, CParameterListCtrl::ColumnValue), tinted(5));
    // Parity counts rows over the headings: row 13 is the first of channel 2.
    EXPECT_EQ(Background(13, CParameterListCtrl::ColumnName), tinted(10));

    // The pixels drawn agree with the brushes (away from the text).
    const QImage image = m_list->viewport()->grab().toImage();
    const QRect valueCell = m_list->CellRect(1, CParameterListCtrl::ColumnValue);
    EXPECT_EQ(image.pixelColor(valueCell.right() - 2, valueCell.center().y()), tinted(5));
}

TEST_F(ParameterListTest, WithoutGroupViewHeadingsAreRowsAndValueCellsShowWhetherTheyCanBeChanged) {
    m_list->Initialize(false);
    auto card = ShowIO(L"JK7W");
    EXPECT_EQ(m_list->GetGroupCount(), 0);
    ASSERT_EQ(m_list->GetRowCount(), 4 * 14 + 3);
    EXPECT_EQ(NameText(0), "Channel 1");
    const QColor green(100, 255, 150);
    const QColor yellow(255, 255, 180);
    EXPECT_EQ(Background(0, CParameterListCtrl::ColumnValue), green);
    const int use = RowOf(*card, L"unused01");
    EXPECT_EQ(Background(use, CParameterListCtrl::ColumnName), green);
    EXPECT_EQ(Background(use, CParameterListCtrl::ColumnValue), yellow);
    const int unit = RowOf(*card, L"unit01");
    EXPECT_EQ(Background(unit, CParameterListCtrl::ColumnValue),
              m_list->palette().color(QPalette::Active, QPalette::Button));
    EXPECT_EQ(Foreground(unit, CParameterListCtrl::ColumnValue), GreyText());
    EXPECT_EQ(Foreground(unit, CParameterListCtrl::ColumnName), WindowText());
}

TEST_F(ParameterListTest, EscapeOnTheDropDownCommitsNothingAndAnotherChoiceIsCommitted) {
    auto card = ShowIO(L"JK7W");
    const int range = RowOf(*card, L"rangepc01");
    const int unit = RowOf(*card, L"unit01");

    Click(range, CParameterListCtrl::ColumnValue);
    ASSERT_TRUE(Combo()->isVisible());
    ASSERT_TRUE(Popup()->isVisible());
    EXPECT_EQ(Combo()->count(), 37);
    EXPECT_EQ(Combo()->currentText(), "0 to 5 V");
    EXPECT_EQ(Combo()->itemData(10).toInt(), 10);
    EXPECT_EQ(Combo()->geometry(),
              m_list->CellRect(range, CParameterListCtrl::ColumnValue).adjusted(-2, -4, 2, 0));

    QTest::keyClick(Popup(), Qt::Key_Down);
    QTest::keyClick(Popup(), Qt::Key_Escape);
    QTest::qWait(50);
    EXPECT_FALSE(Popup()->isVisible());
    EXPECT_FALSE(Combo()->isVisible());
    EXPECT_EQ(ValueText(range), "0 to 5 V");
    EXPECT_EQ(m_observer.updates, 0);
    EXPECT_FALSE(m_list->GetWriteRequest());
    // The offscreen platform leaves the closed list's window active; the list
    // is the window's focus widget, which takes the focus on activation.
    EXPECT_EQ(m_window.focusWidget(), m_list);

    // Eight entries further down: thermocouple K, for which the unit counts.
    Click(range, CParameterListCtrl::ColumnValue);
    ASSERT_TRUE(Popup()->isVisible());
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(Popup(), Qt::Key_Down);
    }
    QTest::keyClick(Popup(), Qt::Key_Return);
    QTest::qWait(50);
    EXPECT_FALSE(Combo()->isVisible());
    EXPECT_EQ(ValueText(range), "Thermocouple K");
    EXPECT_EQ(m_observer.updates, 1);
    EXPECT_TRUE(m_list->GetWriteRequest());
    EXPECT_EQ(Foreground(unit, CParameterListCtrl::ColumnValue), WindowText()) << "redrawn as changeable";

    // A click on an entry, as the user chooses with the mouse.
    Click(unit, CParameterListCtrl::ColumnValue);
    ASSERT_TRUE(Popup()->isVisible());
    EXPECT_EQ(Combo()->currentText(), QString::fromUtf8("°C"));
    // The list ignores a release that comes too soon after it opened.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    const QModelIndex kelvin = Popup()->model()->index(2, 0);
    QTest::mouseClick(Popup()->viewport(), Qt::LeftButton, {}, Popup()->visualRect(kelvin).center());
    QTest::qWait(50);
    EXPECT_EQ(ValueText(unit), "K");
    EXPECT_EQ(m_observer.updates, 2);
}

TEST_F(ParameterListTest, ADoubleClickOnAListValueInTheMainWindowChoosesNothing) {
    auto card = ShowIO(L"JK7W");
    const int burnout = RowOf(*card, L"burnout01");
    card->SetCheckedValue(k52test::RowOf(*card, L"rangepc01"), 10);
    m_list->Refill(false);

    DoubleClick(burnout, CParameterListCtrl::ColumnValue);
    QTest::qWait(50);
    if (Popup()->isVisible()) {
        QTest::keyClick(Popup(), Qt::Key_Escape);
        QTest::qWait(50);
    }
    EXPECT_EQ(ValueText(burnout), "Upscale");
    EXPECT_EQ(m_observer.updates, 0);
}

TEST_F(ParameterListTest, TheStepperStepsWithinTheLimitsAndBlocksEditsUntilTheChangeWasSent) {
    m_list->SetAdjustMode(true);
    auto card = CIOCardType().CreateByName(L"JK7W");
    card->SetAdjustmentRead();
    std::shared_ptr<CCardInterface> shown = Show(std::move(card));
    const int bias = RowOf(*shown, L"bias01");
    const int gain = RowOf(*shown, L"gain01");
    const int simulation = RowOf(*shown, L"simu");

    // A click selects without opening an editor in the monitor window.
    Click(bias, CParameterListCtrl::ColumnValue);
    EXPECT_FALSE(TextEditor()->isVisible());
    EXPECT_EQ(m_list->GetCurrentParameter(), k52test::RowOf(*shown, L"bias01"));
    CListStepper* stepper = m_list->Stepper();
    ASSERT_TRUE(stepper->isVisible());
    const QRect cell = m_list->CellRect(bias, CParameterListCtrl::ColumnValue);
    EXPECT_EQ(stepper->geometry(), QRect(cell.right() - 39, cell.top(), 40, cell.height()));

    QTest::keyClick(m_list, Qt::Key_Right);
    EXPECT_EQ(ValueText(bias), "0.01 (%)");
    EXPECT_TRUE(m_list->GetWriteRequest());
    EXPECT_FALSE(stepper->isEnabled());
    EXPECT_FALSE(Combo()->isEnabled());

    // Until the owner has sent the change, neither keys nor edits change anything.
    QTest::keyClick(m_list, Qt::Key_Right);
    QTest::mouseClick(stepper->RightButton(), Qt::LeftButton);
    EXPECT_EQ(ValueText(bias), "0.01 (%)");
    DoubleClick(gain, CParameterListCtrl::ColumnValue);
    EXPECT_FALSE(TextEditor()->isVisible());
    DoubleClick(simulation, CParameterListCtrl::ColumnValue);
    EXPECT_FALSE(Popup()->isVisible());

    m_list->ClearWriteRequest();
    m_list->EnableSteppers(true);
    Select(bias);
    QTest::keyClick(m_list, Qt::Key_Left);
    QTest::keyClick(m_list, Qt::Key_Left); // disabled again after the first
    EXPECT_EQ(ValueText(bias), "0.00 (%)");

    // A step never leaves the limits.
    shown->SetFromText(k52test::RowOf(*shown, L"bias01"), L"320");
    m_list->Refill(false);
    m_list->ClearWriteRequest();
    m_list->EnableSteppers(true);
    QTest::mouseClick(stepper->RightButton(), Qt::LeftButton);
    EXPECT_EQ(ValueText(bias), "320.00 (%)");
    EXPECT_TRUE(m_list->GetWriteRequest());

    // And once sent, a double click opens the editor again.
    m_list->ClearWriteRequest();
    m_list->EnableSteppers(true);
    DoubleClick(gain, CParameterListCtrl::ColumnValue);
    EXPECT_TRUE(TextEditor()->isVisible());
}

TEST_F(ParameterListTest, NoStepperOnADisabledOrNonAdjustmentRow) {
    m_list->SetAdjustMode(true);
    auto card = CIOCardType().CreateByName(L"QB9W");
    card->SetAdjustmentRead();
    std::shared_ptr<CCardInterface> counter = Show(std::move(card));
    Select(RowOf(*counter, L"preset01"));
    EXPECT_FALSE(m_list->Stepper()->isVisible()) << "a command value, not an adjustment";

    card = CIOCardType().CreateByName(L"JK7W");
    card->SetAdjustmentRead();
    // A thermocouple with an empty span cannot be calibrated.
    card->SetCheckedValue(k52test::RowOf(*card, L"rangepc01"), 10);
    std::shared_ptr<CCardInterface> input = Show(std::move(card));
    const int bias = RowOf(*input, L"bias01");
    Select(bias);
    EXPECT_FALSE(m_list->Stepper()->isVisible());
    QTest::keyClick(m_list, Qt::Key_Right);
    EXPECT_EQ(ValueText(bias), "0.00 (%)");
    EXPECT_FALSE(m_list->GetWriteRequest());

    Select(RowOf(*input, L"bias02"));
    EXPECT_TRUE(m_list->Stepper()->isVisible());
    // Losing the focus hides it.
    m_list->clearFocus();
    EXPECT_FALSE(m_list->Stepper()->isVisible());
}

TEST_F(ParameterListTest, ARefillRewritesOnlyTheCellsWhoseTextChanged) {
    auto card = ShowIO(L"JK7W");
    int displayChanges = 0;
    QObject::connect(m_list->model(), &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& from, const QModelIndex& to, const QList<int>& roles) {
                         if (roles.isEmpty() || roles.contains(Qt::DisplayRole)) {
                             displayChanges +=
                                 (to.row() - from.row() + 1) * (to.column() - from.column() + 1);
                         }
                     });

    m_list->Refill(false);
    EXPECT_EQ(displayChanges, 0);

    card->SetFromText(k52test::RowOf(*card, L"zscale02"), L"-100");
    m_list->Refill(false);
    EXPECT_EQ(displayChanges, 1);
    EXPECT_EQ(ValueText(RowOf(*card, L"zscale02")), "-100");
    EXPECT_EQ(m_list->GetRowCount(), 54);
}

TEST_F(ParameterListTest, ToolTipsShowTheCellTextCutTo79Characters) {
    auto card = ShowCOM(L"K52HZKJ8");
    const std::wstring url = L"ntp.example.org/" + std::wstring(90, L'a');
    card->SetFromText(k52test::RowOf(*card, L"url"), url);
    m_list->Refill(false);
    const int row = RowOf(*card, L"url");
    EXPECT_EQ(ValueText(row), Text(url));
    EXPECT_EQ(m_list->RowItem(row)->toolTip(CParameterListCtrl::ColumnValue), Text(url.substr(0, 79)));
    EXPECT_EQ(m_list->RowItem(row)->toolTip(CParameterListCtrl::ColumnName), NameText(row));
}

TEST_F(ParameterListTest, HideEditorsClosesTheEditorWithoutCommitting) {
    auto card = ShowIO(L"JK7W");
    const int bias = RowOf(*card, L"bias01");
    Select(bias);
    QTest::keyClick(m_list, Qt::Key_9);
    ASSERT_TRUE(TextEditor()->isVisible());

    m_list->HideEditors();
    QTest::qWait(20);
    EXPECT_FALSE(TextEditor()->isVisible());
    EXPECT_TRUE(m_list->hasFocus());
    EXPECT_EQ(ValueText(bias), "0.00 (%)");
    EXPECT_EQ(m_observer.updates, 0);

    // The drop-down likewise, list and all.
    Click(RowOf(*card, L"rangepc01"), CParameterListCtrl::ColumnValue);
    ASSERT_TRUE(Popup()->isVisible());
    m_list->HideEditors();
    QTest::qWait(20);
    EXPECT_FALSE(Popup()->isVisible());
    EXPECT_FALSE(Combo()->isVisible());
    EXPECT_EQ(m_observer.updates, 0);
}

TEST_F(ParameterListTest, AClickOnTheValueEditsInTheMainWindowAndFocusLossCancels) {
    auto card = ShowIO(L"JK7W");
    const int gain = RowOf(*card, L"gain01");
    Click(gain, CParameterListCtrl::ColumnValue);
    ASSERT_TRUE(TextEditor()->isVisible());
    QTest::keyClicks(TextEditor(), "2");

    // Clicking another row's name ends the edit without a change.
    Select(gain + 1);
    EXPECT_FALSE(TextEditor()->isVisible());
    EXPECT_EQ(ValueText(gain), "1.0000");
    EXPECT_EQ(m_observer.updates, 0);
}

TEST_F(ParameterListTest, TheRealErrorBoxInterruptsTheEditWithoutLosingTheOldValue) {
    // The message box takes the focus from the editor while the commit is
    // still being handled; the cancel that the editor reports meanwhile must
    // not disturb the commit or the move that follows it.
    const CErrorBox::Presenter recorder = CErrorBox::SetPresenter(nullptr);
    auto card = ShowIO(L"JK7W");
    const int bias = RowOf(*card, L"bias01");
    Select(bias);
    m_list->BeginEdit(-1, 0);
    QTest::keyClicks(TextEditor(), "400");
    QString shown;
    k52test::WhenModalShown([&](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            shown = box->text();
        }
        QTest::keyClick(modal, Qt::Key_Return);
    });
    QTest::keyClick(TextEditor(), Qt::Key_Down);
    CErrorBox::SetPresenter(recorder);

    EXPECT_EQ(shown, "Ch1 Bias: enter a value from -320.00 to 320.00.");
    EXPECT_EQ(ValueText(bias), "0.00 (%)");
    EXPECT_FALSE(m_list->GetWriteRequest());
    EXPECT_EQ(m_list->currentItem(), m_list->RowItem(bias + 1));
    EXPECT_TRUE(TextEditor()->isVisible());
    EXPECT_EQ(m_list->GetEditedParameter(), m_list->ParameterOfRow(bias + 1));
}

TEST_F(ParameterListTest, APasswordIsShownAsAMaskAndTypedUnseen) {
    auto card = ShowCOM(L"K52HZKJ8");
    const int password = RowOf(*card, L"password01");
    const int login = RowOf(*card, L"loginid01");
    ASSERT_GE(password, 0);
    EXPECT_EQ(ValueText(password), "");

    Select(password);
    QTest::keyClicks(m_list, "S");
    ASSERT_TRUE(TextEditor()->isVisible());
    QTest::keyClicks(TextEditor(), "ecret42");
    EXPECT_EQ(TextEditor()->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(TextEditor()->displayText().contains("Secret"));
    QTest::keyClick(TextEditor(), Qt::Key_Return);

    EXPECT_EQ(card->GetTextSlot(card->GetParameter(k52test::RowOf(*card, L"password01")).textSlot),
              L"Secret42");
    EXPECT_EQ(ValueText(password), "********");
    EXPECT_EQ(m_list->RowItem(password)->toolTip(CParameterListCtrl::ColumnValue), "********");
    // Opened again it holds the password, still unseen; a login name is seen.
    m_list->BeginEdit(password, 0);
    EXPECT_EQ(TextEditor()->text(), "Secret42");
    EXPECT_FALSE(TextEditor()->displayText().contains("Secret"));
    m_list->HideEditors();
    m_list->BeginEdit(login, 0);
    EXPECT_EQ(TextEditor()->echoMode(), QLineEdit::Normal);
    EXPECT_TRUE(m_errors.Texts().empty());
}

TEST_F(ParameterListTest, TheFilterNarrowsTheRowsByCaptionOrValueAndEscapeClearsIt) {
    auto card = ShowIO(L"JK7W");
    const int rows = m_list->GetRowCount();
    const int zeroBase = RowOf(*card, L"zbase02");
    card->SetFromText(k52test::RowOf(*card, L"zbase02"), L"-1.234");
    m_list->Refill(false);

    m_list->OpenFilter();
    QLineEdit* field = m_list->FilterField();
    ASSERT_TRUE(field->isVisible());
    EXPECT_TRUE(field->hasFocus());
    // Above the rows, which keep their room below it.
    EXPECT_LE(m_list->mapToParent(field->geometry().bottomLeft()).y(),
              m_list->mapToParent(m_list->viewport()->geometry().topLeft()).y());

    const auto shown = [&] {
        std::vector<int> rows;
        for (int row = 0; row < m_list->GetRowCount(); ++row) {
            if (m_list->IsRowShown(row)) {
                rows.push_back(row);
            }
        }
        return rows;
    };
    const auto shownHeadings = [&] {
        int count = 0;
        for (int group = 0; group < m_list->GetGroupCount(); ++group) {
            count += m_list->GroupItem(group)->isHidden() ? 0 : 1;
        }
        return count;
    };

    // By caption, in any case: the gain of each of the four channels, under
    // the four channel headings.
    QTest::keyClicks(field, "GAIN");
    EXPECT_EQ(shown().size(), 4u);
    for (int row : shown()) {
        EXPECT_TRUE(NameText(row).contains("Gain")) << NameText(row).toStdString();
    }
    EXPECT_EQ(shownHeadings(), 4);

    // By value: one row, and its heading alone.
    field->clear();
    QTest::keyClicks(field, "-1.234");
    EXPECT_EQ(shown(), std::vector<int>{zeroBase});
    EXPECT_EQ(shownHeadings(), 1);

    // The keys go on to the rows found, and editing is as before.
    field->clear();
    QTest::keyClicks(field, "zero base");
    const std::vector<int> found = shown();
    ASSERT_EQ(found.size(), 4u);
    QTest::keyClick(field, Qt::Key_Down);
    EXPECT_TRUE(m_list->hasFocus());
    QTest::keyClick(m_list, Qt::Key_Down);
    EXPECT_EQ(m_list->GetCurrentParameter(), m_list->ParameterOfRow(found[1]));
    QTest::keyClicks(m_list, "2");
    ASSERT_TRUE(TextEditor()->isVisible());
    QTest::keyClick(TextEditor(), Qt::Key_Down);
    EXPECT_EQ(ValueText(found[1]), "2.000");
    EXPECT_EQ(m_list->GetEditedParameter(), m_list->ParameterOfRow(found[2])) << "on to the next row found";
    m_list->HideEditors();

    // With the filter, the keys pass by the disabled rows it found.
    field->setFocus();
    field->clear();
    QTest::keyClicks(field, "Ch1");
    std::vector<int> enabled;
    for (int row : shown()) {
        if (!card->IsDisabled(m_list->ParameterOfRow(row))) {
            enabled.push_back(m_list->ParameterOfRow(row));
        }
    }
    ASSERT_LT(enabled.size(), shown().size()) << "no disabled row found";
    QTest::keyClick(field, Qt::Key_Down);
    std::vector<int> visited{m_list->GetCurrentParameter()};
    for (std::size_t step = 1; step < shown().size(); ++step) {
        QTest::keyClick(m_list, Qt::Key_Down);
        if (m_list->GetCurrentParameter() != visited.back()) {
            visited.push_back(m_list->GetCurrentParameter());
        }
    }
    EXPECT_EQ(visited, enabled);

    // A filter that finds nothing says so; Escape in the list takes it back.
    field->setFocus();
    field->clear();
    QTest::keyClicks(field, "xyzzy");
    EXPECT_TRUE(shown().empty());
    ASSERT_TRUE(m_list->NoMatchLabel()->isVisible());
    EXPECT_TRUE(m_list->NoMatchLabel()->text().contains("\"xyzzy\""));
    m_list->setFocus();
    QTest::keyClick(m_list, Qt::Key_Escape);
    EXPECT_FALSE(field->isVisible());
    EXPECT_FALSE(m_list->NoMatchLabel()->isVisible());
    EXPECT_EQ(static_cast<int>(shown().size()), rows);

    // Escape takes the filter back: every row and heading again.
    m_list->OpenFilter();
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(field->isVisible());
    EXPECT_EQ(field->text(), "");
    EXPECT_EQ(static_cast<int>(shown().size()), rows);
    EXPECT_EQ(shownHeadings(), m_list->GetGroupCount());
    EXPECT_TRUE(m_list->hasFocus());
    EXPECT_TRUE(m_errors.Texts().empty());
}
