// The simulation panels as the user meets them: typed numbers, check boxes,
// "SET", Escape.
#include "base/ui/ControlId.h"
#include "monitor/ui/CEditAIO2.h"
#include "monitor/ui/CEditAIO4.h"
#include "monitor/ui/CEditAIO4_2.h"
#include "monitor/ui/CEditDIO32.h"
#include "support/GuiTestSupport.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Counts what a panel tells the window: "SET" and its own cancel.
struct CountingObserver {
    void Watch(CSimulationPanel* panel) {
        QObject::connect(panel, &CSimulationPanel::SetConfirmed, [this] { ++count; });
        QObject::connect(panel, &CSimulationPanel::Cancelled, [this] { ++count; });
    }
    int count = 0;
};

class SimulationPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        k52test::LoadEnglish();
        m_host.resize(500, 300);
        m_host.show();
        m_host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_host));
    }

    template <class Panel> Panel* Open(std::int32_t status = 0, bool simulating = true) {
        auto* panel = new Panel(&m_host);
        m_observer.Watch(panel);
        if constexpr (std::is_base_of_v<CAnalogSimulationPanel, Panel>) {
            panel->SetStatus(status);
            for (int channel = 0; channel < panel->GetChannelCount(); ++channel) {
                panel->SetInput(channel, L"0");
            }
        }
        panel->show();
        panel->EnableInputs(simulating);
        panel->ShowInput();
        return panel;
    }

    // Types a text into a channel's box, replacing what stood there.
    static void Type(CAnalogSimulationPanel* panel, int channel, const QString& text) {
        auto* edit = FindControlAs<QLineEdit>(panel, CAnalogSimulationPanel::kFirstEditId + channel);
        ASSERT_NE(edit, nullptr);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    static QString Shown(CAnalogSimulationPanel* panel, int channel) {
        return FindControlAs<QLineEdit>(panel, CAnalogSimulationPanel::kFirstEditId + channel)->text();
    }

    static void PressSet(CSimulationPanel* panel) {
        QTest::mouseClick(FindControlAs<QPushButton>(panel, CSimulationPanel::kSetButtonId), Qt::LeftButton);
    }

    QWidget m_host;
    CountingObserver m_observer;
};

TEST_F(SimulationPanelTest, NumbersOutOfRangeAreLimitedSilentlyAndShownLimited) {
    auto* unsignedPanel = Open<CEditAIO4>(3);
    Type(unsignedPanel, 0, QStringLiteral("70000"));
    Type(unsignedPanel, 1, QStringLiteral("-5"));
    Type(unsignedPanel, 2, QStringLiteral("1234"));
    Type(unsignedPanel, 3, QStringLiteral("99999999999"));
    {
        k52test::ErrorBoxRecorder errors;
        PressSet(unsignedPanel);
        EXPECT_TRUE(errors.Texts().empty());
    }
    EXPECT_EQ(Shown(unsignedPanel, 0), QStringLiteral("65535"));
    EXPECT_EQ(unsignedPanel->GetInput(0), L"65535");
    EXPECT_EQ(Shown(unsignedPanel, 1), QStringLiteral("0"));
    EXPECT_EQ(unsignedPanel->GetInput(2), L"1234");
    EXPECT_EQ(Shown(unsignedPanel, 3), QStringLiteral("65535")) << "a number too large for 32 bits";
    EXPECT_EQ(m_observer.count, 1);

    auto* signedPanel = Open<CEditAIO4_2>(5);
    Type(signedPanel, 0, QStringLiteral("-40000"));
    Type(signedPanel, 7, QStringLiteral("40000"));
    Type(signedPanel, 4, QStringLiteral("4294967295"));
    PressSet(signedPanel);
    EXPECT_EQ(signedPanel->GetInput(0), L"-32768");
    EXPECT_EQ(signedPanel->GetInput(7), L"32767");
    EXPECT_EQ(signedPanel->GetInput(4), L"32767") << "must not wrap round to -1";
}

TEST_F(SimulationPanelTest, TwoChannelPanelChecksTheNumberItSendsAgainstItsLimits) {
    auto* panel = Open<CEditAIO2>(0);
    Type(panel, 0, QStringLiteral("-40000"));
    Type(panel, 1, QStringLiteral("-12"));
    PressSet(panel);
    EXPECT_EQ(panel->GetInput(0), L"-32768");
    EXPECT_EQ(Shown(panel, 0), QStringLiteral("-32768"));
    EXPECT_EQ(panel->GetInput(1), L"-12");

    // Status 4: the whole unsigned 32-bit range, written out as such.
    auto* counter = Open<CEditAIO2>(4);
    Type(counter, 0, QStringLiteral("4294967296"));
    Type(counter, 1, QStringLiteral("-1"));
    PressSet(counter);
    EXPECT_EQ(counter->GetInput(0), L"4294967295");
    EXPECT_EQ(counter->GetInput(1), L"0");

    auto* unsignedPanel = Open<CEditAIO2>(3);
    Type(unsignedPanel, 1, QStringLiteral("70000"));
    PressSet(unsignedPanel);
    EXPECT_EQ(unsignedPanel->GetInput(1), L"65535");
}

TEST_F(SimulationPanelTest, TextThatIsNoNumberIsReportedAndNothingIsSent) {
    auto* panel = Open<CEditAIO4>(0);
    Type(panel, 2, QStringLiteral("abc"));
    k52test::ErrorBoxRecorder errors;
    PressSet(panel);
    ASSERT_EQ(errors.Texts().size(), 1u);
    // The channel and its range, not the parser's own words.
    EXPECT_EQ(errors.Texts()[0], L"Ch 3: enter a whole number from -32768 to 32767.");
    EXPECT_TRUE(panel->Edit(2)->hasFocus());
    EXPECT_FALSE(panel->IsBusy());
    EXPECT_TRUE(panel->SetButton()->isEnabled());
    EXPECT_EQ(m_observer.count, 0);
}

TEST_F(SimulationPanelTest, SetStaysDisabledUntilTheRequestWasConsumed) {
    auto* panel = Open<CEditAIO4>(0);
    Type(panel, 0, QStringLiteral("100"));
    PressSet(panel);
    EXPECT_TRUE(panel->IsBusy());
    EXPECT_FALSE(panel->SetButton()->isEnabled());
    // Neither a click nor Enter sends a second request meanwhile.
    PressSet(panel);
    QTest::keyClick(FindControl(panel, CAnalogSimulationPanel::kFirstEditId), Qt::Key_Return);
    EXPECT_EQ(m_observer.count, 1);
    // A refresh that still finds the module simulating leaves it busy.
    panel->EnableInputs(true);
    EXPECT_FALSE(panel->SetButton()->isEnabled());

    panel->ClearBusy();
    EXPECT_TRUE(panel->SetButton()->isEnabled());
    QTest::keyClick(FindControl(panel, CAnalogSimulationPanel::kFirstEditId), Qt::Key_Return);
    EXPECT_EQ(m_observer.count, 2) << "Enter in a box is \"SET\"";
}

TEST_F(SimulationPanelTest, APanelOfAModuleThatDoesNotSimulateIsDisabled) {
    auto* analog = Open<CEditAIO4>(0, false);
    for (int channel = 0; channel < 4; ++channel) {
        EXPECT_FALSE(FindControl(analog, CAnalogSimulationPanel::kFirstEditId + channel)->isEnabled());
    }
    EXPECT_FALSE(analog->SetButton()->isEnabled());
    PressSet(analog);
    EXPECT_EQ(m_observer.count, 0);

    auto* digital = Open<CEditDIO32>(0, false);
    digital->SetMask(0xFFFF);
    digital->ShowInput();
    EXPECT_FALSE(digital->Box(0)->isEnabled());
    EXPECT_FALSE(digital->SetButton()->isEnabled());
}

TEST_F(SimulationPanelTest, DigitalPanelOffersTheMaskedBoxesAndSendsTheirPattern) {
    auto* panel = new CEditDIO32(&m_host);
    m_observer.Watch(panel);
    panel->SetMask(0xFFFF);
    panel->SetValue(0x00010002); // point 2 set, and a point outside the mask
    panel->show();
    panel->EnableInputs(true);
    panel->ShowInput();

    for (int bit = 0; bit < 32; ++bit) {
        ASSERT_EQ(FindControl(panel, CEditDIO32::BoxId(bit)), panel->Box(bit));
        EXPECT_EQ(panel->Box(bit)->isEnabled(), bit < 16) << "box " << bit + 1;
    }
    EXPECT_TRUE(panel->Box(1)->isChecked());
    EXPECT_TRUE(panel->Box(0)->hasFocus());

    QTest::mouseClick(panel->Box(1), Qt::LeftButton); // clears point 2
    QTest::mouseClick(panel->Box(0), Qt::LeftButton);
    QTest::mouseClick(panel->Box(2), Qt::LeftButton);
    QTest::mouseClick(panel->Box(20), Qt::LeftButton); // disabled: no effect
    PressSet(panel);
    EXPECT_EQ(panel->GetValue(), 0x00010005u);
    EXPECT_EQ(m_observer.count, 1);
}

TEST_F(SimulationPanelTest, EscapeClosesThePanelAndTellsTheWindowWithoutARequest) {
    auto* panel = Open<CEditAIO4>(0);
    Type(panel, 0, QStringLiteral("7"));
    PressSet(panel);
    ASSERT_TRUE(panel->IsBusy());
    QTest::keyClick(FindControl(panel, CAnalogSimulationPanel::kFirstEditId), Qt::Key_Escape);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(panel->IsBusy());
    EXPECT_EQ(m_observer.count, 2);
}

TEST_F(SimulationPanelTest, TabGoesFromTheLastInputToSet) {
    // The inputs come first, "SET" after them: Tab walks the boxes in order
    // and ends on the button, Shift+Tab goes back to the last input.
    const std::function<CAnalogSimulationPanel*()> opens[] = {
        [this] { return Open<CEditAIO2>(0); },
        [this] { return Open<CEditAIO4>(0); },
        [this] { return Open<CEditAIO4_2>(0); },
    };
    for (const auto& open : opens) {
        CAnalogSimulationPanel* panel = open();
        // A control of the window that follows the panel.
        auto* after = new QLineEdit(&m_host);
        after->show();
        const int last = panel->GetChannelCount() - 1;
        QWidget* lastEdit = FindControl(panel, CAnalogSimulationPanel::kFirstEditId + last);
        QWidget* first = FindControl(panel, CAnalogSimulationPanel::kFirstEditId);
        ASSERT_TRUE(first->hasFocus());
        QTest::keyClick(first, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), FindControl(panel, CAnalogSimulationPanel::kFirstEditId + 1));
        lastEdit->setFocus();
        QTest::keyClick(lastEdit, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), panel->SetButton()) << panel->GetChannelCount();
        QTest::keyClick(panel->SetButton(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), lastEdit) << panel->GetChannelCount();
        panel->hide();
        after->hide();
    }

    auto* digital = new CEditDIO32(&m_host);
    (new QLineEdit(&m_host))->show();
    digital->SetMask(0xFFFF);
    digital->show();
    digital->EnableInputs(true);
    digital->ShowInput();
    QWidget* box16 = FindControl(digital, CEditDIO32::BoxId(15));
    box16->setFocus();
    QTest::keyClick(box16, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), digital->SetButton());
}

TEST_F(SimulationPanelTest, EightChannelPanelLabelsItsLinesFromTheLanguageFile) {
    auto* panel = Open<CEditAIO4_2>(0);
    EXPECT_EQ(FindControlAs<QLabel>(panel, CEditAIO4_2::kInputLabelId)->text(), QStringLiteral("Input"));
    EXPECT_EQ(FindControlAs<QLabel>(panel, CEditAIO4_2::kOutputLabelId)->text(), QStringLiteral("Output"));
    EXPECT_TRUE(FindControl(panel, CAnalogSimulationPanel::kFirstEditId)->hasFocus());
}

} // namespace
