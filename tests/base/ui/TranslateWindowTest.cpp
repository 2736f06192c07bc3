#include "base/ui/TranslateWindow.h"
#include "base/CResourceDatabase.h"
#include "base/ui/ControlId.h"
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

// Entries added to the language files later: a control that had the shared
// identifier takes its old text from a file without its own entry, and a
// window whose section came later keeps its layout's texts under such a
// file, its parts with sections of their own left to their own translation.
TEST_F(TranslateWindowTest, EntriesAddedLaterFallBackToWhatOlderFilesGive) {
    Load("<gui name='900'><text name='0'>Caption</text><text name='-1'>Shared title</text>"
         "<text name='11'>Own title</text></gui>"
         "<gui name='901'><text name='0'>Later</text><text name='1'>Close</text></gui>");
    QWidget window;
    auto* own = AddControl<QGroupBox>(&window, 11, "first");
    SetFallbackControlId(own, kSharedControlId);
    auto* older = AddControl<QGroupBox>(&window, 12, "second");
    SetFallbackControlId(older, kSharedControlId);
    TranslateWindow(900, &window, m_database);
    EXPECT_EQ(own->title(), "Own title");
    EXPECT_EQ(older->title(), "Shared title");

    // A file that has neither still raises for the window of the first files.
    auto* neither = AddControl<QLabel>(&window, 13, "third");
    SetFallbackControlId(neither, 14);
    EXPECT_NE(RaisedText([&] { TranslateWindow(900, &window, m_database); }).find(L"text[@name='13']"),
              std::wstring::npos);

    QWidget later;
    later.setWindowTitle("Layout caption");
    auto* close = AddControl<QPushButton>(&later, 1, "close");
    auto* label = AddControl<QLabel>(&later, 2, "Reading");
    auto* part = new QWidget(&later);
    SetOwnWindowNumber(part, 902);
    auto* set = AddControl<QPushButton>(part, 1, "SET");
    EXPECT_NO_THROW(TranslateWindow(901, &later, m_database, MissingText::KeepLayoutText));
    EXPECT_EQ(later.windowTitle(), "Later");
    EXPECT_EQ(close->text(), "Close");
    EXPECT_EQ(label->text(), "Reading");
    EXPECT_EQ(set->text(), "SET");
    // Without any section of its own, everything stays as the layout has it.
    EXPECT_NO_THROW(TranslateWindow(902, part, m_database, MissingText::KeepLayoutText));
    EXPECT_EQ(set->text(), "SET");
}
