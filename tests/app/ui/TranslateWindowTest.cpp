#include "app/ui/ControlId.h"
#include "app/ui/TranslateWindow.h"
#include "base/CResourceDatabase.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

using k52test::RaisedText;
using k52test::TempDir;
using k52test::WriteFile;

namespace {

std::string LanguageFile(const std::string& guiSections) {
    return "<?xml version='1.0' encoding='utf-8'?><root><application>K52CFG</application>"
           "<filetype>language</filetype><language>Testish</language>" +
           guiSections + "</root>";
}

template <class T> T* AddControl(QWidget* parent, int id, const QString& text = {}) {
    auto* control = new T(parent);
    SetControlId(control, id);
    if constexpr (std::is_same_v<T, QGroupBox>) {
        control->setTitle(text);
    } else if constexpr (!std::is_same_v<T, QComboBox>) {
        control->setText(text);
    }
    return control;
}

class TranslateWindowTest : public ::testing::Test {
protected:
    void Load(const std::string& guiSections) {
        WriteFile(m_dir.path() / "Test.lng", LanguageFile(guiSections));
        m_database.Load(m_dir.file("Test.lng"));
    }

    TempDir m_dir;
    CResourceDatabase m_database;
};

} // namespace

TEST_F(TranslateWindowTest, SetsCaptionAndControlTextsAndKeepsLayoutTextsForEmptyEntries) {
    Load("<gui name='900'><text name='0'>Translated caption</text><text name='1'>Accept</text>"
         "<text name='-1'>Shared</text><text name='5'></text><text name='7'>Group</text>"
         "<text name='8'></text></gui>"
         "<gui name='901'><text name='0'></text><text name='1'>Other window</text></gui>");
    QWidget window;
    window.setWindowTitle("Layout caption");
    auto* accept = AddControl<QPushButton>(&window, 1, "OK");
    auto* sharedA = AddControl<QLabel>(&window, kSharedControlId, "first");
    auto* sharedB = AddControl<QLabel>(&window, kSharedControlId, "second");
    auto* kept = AddControl<QLabel>(&window, 5, "layout text");
    // A plain layout container carries no identifier; its controls belong to the window.
    auto* container = new QWidget(&window);
    auto* group = AddControl<QGroupBox>(container, 7, "group");
    auto* combo = AddControl<QComboBox>(&window, 8);
    combo->addItem("entry");

    TranslateWindow(900, &window, m_database);

    EXPECT_EQ(window.windowTitle(), "Translated caption");
    EXPECT_EQ(accept->text(), "Accept");
    EXPECT_EQ(sharedA->text(), "Shared");
    EXPECT_EQ(sharedB->text(), "Shared");
    EXPECT_EQ(kept->text(), "layout text");
    EXPECT_EQ(group->title(), "Group");
    EXPECT_EQ(combo->currentText(), "entry");

    // An empty caption keeps the window's own.
    QWidget other;
    other.setWindowTitle("Own caption");
    auto* button = AddControl<QPushButton>(&other, 1, "OK");
    TranslateWindow(901, &other, m_database);
    EXPECT_EQ(other.windowTitle(), "Own caption");
    EXPECT_EQ(button->text(), "Other window");
}

TEST_F(TranslateWindowTest, FirstMissingEntryEndsTheWalkWithItsFailure) {
    Load("<gui name='900'><text name='0'>Caption</text><text name='1'>one</text>"
         "<text name='3'>three</text></gui>");
    QWidget window;
    // Created in the order 1, 2, 3; placed the other way round, so that only
    // the order of creation can decide which controls were reached.
    auto* first = AddControl<QLabel>(&window, 1, "1");
    auto* second = AddControl<QLabel>(&window, 2, "2");
    auto* third = AddControl<QLabel>(&window, 3, "3");
    first->move(0, 40);
    second->move(0, 20);
    third->move(0, 0);

    std::wstring text = RaisedText([&] { TranslateWindow(900, &window, m_database); });

    EXPECT_NE(text.find(L"text[@name='2']"), std::wstring::npos) << text;
    EXPECT_EQ(window.windowTitle(), "Caption");
    EXPECT_EQ(first->text(), "one");
    EXPECT_EQ(second->text(), "2");
    EXPECT_EQ(third->text(), "3");
}

TEST_F(TranslateWindowTest, WindowWithoutSectionRaisesAtItsCaption) {
    Load("<gui name='900'><text name='0'>Caption</text></gui>");
    QWidget window;
    window.setWindowTitle("Layout");
    auto* label = AddControl<QLabel>(&window, 1, "label");

    RaisedText([&] { TranslateWindow(131, &window, m_database); });

    EXPECT_EQ(window.windowTitle(), "Layout");
    EXPECT_EQ(label->text(), "label");
}
