#include "base/CObserver.h"
#include "base/ui/ControlId.h"
#include "editing/ui/CEditBitmapComboBox.h"
#include "editing/ui/CEditComboBox.h"
#include "editing/ui/CEditIPAddressCtrl.h"
#include "editing/ui/CEditText.h"
#include "editing/ui/CListStepper.h"
#include "editing/ui/CParEdit.h"
#include "editing/ui/CParameterListCtrl.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

// What the editor set reported, one entry per notification.
struct Report {
    int result;
    std::int32_t chosenValue;
    std::wstring enteredText;
    int move;
};

struct RecordingObserver : CObserver {
    explicit RecordingObserver(const CParEdit& editors) : editors(editors) {}
    void Update(CObservable*) override {
        reports.push_back(
            {editors.GetResult(), editors.GetChosenValue(), editors.GetEnteredText(), editors.GetMove()});
    }
    const CParEdit& editors;
    std::vector<Report> reports;
};

class EditorsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_window.resize(300, 200);
        m_elsewhere = new QLineEdit(&m_window);
        m_elsewhere->setGeometry(0, 150, 100, 20);
        m_editors.Create(&m_window);
        m_editors.Attach(&m_observer);
        m_window.show();
        m_window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }

    template <class Editor> void ShowWithFocus(Editor* editor) {
        editor->setGeometry(10, 10, 150, 22);
        editor->show();
        editor->setFocus();
        ASSERT_TRUE(editor->hasFocus());
    }

    QWidget m_window;
    QLineEdit* m_elsewhere = nullptr;
    CParEdit m_editors;
    RecordingObserver m_observer{m_editors};
};

} // namespace

TEST(EditorSetTest, TheListCreatesTheFourEditorsAndTheStepperHiddenWithTheirIdentifiers) {
    CParameterListCtrl list;
    list.Initialize();
    EXPECT_NE(FindControlAs<CEditText>(&list, 10000), nullptr);
    EXPECT_NE(FindControlAs<CEditComboBox>(&list, 10001), nullptr);
    EXPECT_NE(FindControlAs<CEditBitmapComboBox>(&list, 10002), nullptr);
    EXPECT_NE(FindControlAs<CEditIPAddressCtrl>(&list, 10003), nullptr);
    EXPECT_NE(FindControlAs<CListStepper>(&list, 100), nullptr);
    list.show();
    for (int id : {10000, 10001, 10002, 10003, 100}) {
        EXPECT_FALSE(FindControl(&list, id)->isVisible()) << id;
    }
}

TEST_F(EditorsTest, TextEditorCommitsWithEnterUpAndDownAndCancelsOnFocusLoss) {
    CEditText* editor = m_editors.TextEditor();
    ShowWithFocus(editor);
    editor->setText(QStringLiteral("12"));

    QTest::keyClick(editor, Qt::Key_Down);
    QTest::keyClick(editor, Qt::Key_Up);
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_EQ(m_observer.reports.size(), 3U);
    EXPECT_EQ(m_observer.reports[0].result, CParEdit::ResultText);
    EXPECT_EQ(m_observer.reports[0].enteredText, L"12");
    EXPECT_EQ(m_observer.reports[0].move, CEditText::MoveNext);
    EXPECT_EQ(m_observer.reports[1].move, CEditText::MovePrevious);
    EXPECT_EQ(m_observer.reports[2].result, CParEdit::ResultText);
    EXPECT_EQ(m_observer.reports[2].move, CEditText::MoveNone);
    EXPECT_TRUE(editor->isVisible()) << "Enter leaves the editor open";

    // Other keys edit as usual.
    QTest::keyClicks(editor, "3");
    EXPECT_EQ(editor->text(), "123");
    EXPECT_EQ(m_observer.reports.size(), 3U);

    m_elsewhere->setFocus();
    ASSERT_EQ(m_observer.reports.size(), 4U);
    EXPECT_EQ(m_observer.reports[3].result, CParEdit::ResultNone);
    EXPECT_EQ(m_observer.reports[3].move, CEditText::MoveNone);
    EXPECT_FALSE(editor->isVisible());

    // A hidden editor has nothing to cancel.
    editor->setFocus();
    m_elsewhere->setFocus();
    EXPECT_EQ(m_observer.reports.size(), 4U);
}

TEST_F(EditorsTest, IPAddressFieldCommitsThePackedAddressWithEnterAndCancelsOnFocusLoss) {
    CEditIPAddressCtrl* editor = m_editors.IPAddressEditor();
    editor->SetAddress(0xC0A80001U);
    EXPECT_EQ(editor->text(), "192.168.0.1");
    ShowWithFocus(editor);
    editor->selectAll();
    // The third digit of 300 would make no address and is refused.
    QTest::keyClicks(editor, "300.1.2.254");
    EXPECT_EQ(editor->text(), "30.1.2.254");

    QTest::keyClick(editor, Qt::Key_Enter);
    ASSERT_EQ(m_observer.reports.size(), 1U);
    EXPECT_EQ(m_observer.reports[0].result, CParEdit::ResultChoice);
    EXPECT_EQ(static_cast<std::uint32_t>(m_observer.reports[0].chosenValue), 0x1E0102FEU);
    EXPECT_TRUE(editor->isVisible());

    m_elsewhere->setFocus();
    ASSERT_EQ(m_observer.reports.size(), 2U);
    EXPECT_EQ(m_observer.reports[1].result, CParEdit::ResultNone);
    EXPECT_FALSE(editor->isVisible());

    // Numbers not typed count as 0.
    editor->setText(QStringLiteral("10.7"));
    EXPECT_EQ(editor->GetAddress(), 0x0A070000U);
}

TEST_F(EditorsTest, PictureDropDownReportsTheIndexOfTheConfirmedEntryOnly) {
    CEditBitmapComboBox* editor = m_editors.BitmapComboEditor();
    editor->addItem(QStringLiteral("first"), 7);
    editor->addItem(QStringLiteral("second"), 9);
    editor->setGeometry(10, 10, 150, 22);

    editor->Open();
    ASSERT_TRUE(editor->view()->isVisible());
    QTest::keyClick(editor->view(), Qt::Key_Down);
    QTest::keyClick(editor->view(), Qt::Key_Escape);
    QTest::qWait(30);
    ASSERT_EQ(m_observer.reports.size(), 1U);
    EXPECT_EQ(m_observer.reports[0].result, CParEdit::ResultNone);
    EXPECT_FALSE(editor->isVisible());

    editor->Open();
    QTest::keyClick(editor->view(), Qt::Key_Down);
    QTest::keyClick(editor->view(), Qt::Key_Return);
    QTest::qWait(30);
    ASSERT_EQ(m_observer.reports.size(), 2U);
    EXPECT_EQ(m_observer.reports[1].result, CParEdit::ResultChoice);
    EXPECT_EQ(m_observer.reports[1].chosenValue, 1) << "the index, not the item data";
    EXPECT_FALSE(editor->isVisible());
}

TEST_F(EditorsTest, AnEmptyDropDownStaysOpenUntilTheFocusGoes) {
    CEditComboBox* editor = m_editors.ComboEditor();
    editor->setGeometry(10, 10, 150, 22);
    editor->Open();
    QTest::qWait(30);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(m_observer.reports.empty());

    m_elsewhere->setFocus();
    QTest::qWait(30);
    ASSERT_EQ(m_observer.reports.size(), 1U);
    EXPECT_EQ(m_observer.reports[0].result, CParEdit::ResultNone);
    EXPECT_FALSE(editor->isVisible());
}
