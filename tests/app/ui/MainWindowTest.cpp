#include "app/ui/CPreferencesDialog.h"
#include "app/ui/MainWindowFixture.h"
#include "base/CResourceManager.h"
#include "base/Version.h"
#include "base/ui/TranslateWindow.h"
#include "catalog/CCOMCardType.h"
#include "catalog/CIOCardType.h"
#include "catalog/ModelRegistry.h"
#include "editing/ui/CEditText.h"
#include "editing/ui/CParEdit.h"
#include "editing/ui/CParameterListCtrl.h"
#include "rack/CCardSlot.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

using k52test::MainWindowTest;
using k52test::TempDir;
using k52test::WhenPopupShown;

namespace {

QString LongName(const CCardSlot::CardHandle& card) {
    return QString::fromStdWString(card->GetCardName().GetLongName());
}

QString ShortName(const CCardSlot::CardHandle& card) {
    return QString::fromStdWString(card->GetCardName().GetShortName());
}

// Picks the menu entry of a model code, with the mouse, from the open menu.
void ChooseFromMenu(QWidget* popup, int code, QStringList* entries = nullptr) {
    auto* menu = qobject_cast<QMenu*>(popup);
    ASSERT_NE(menu, nullptr);
    QAction* wanted = nullptr;
    for (QAction* action : menu->actions()) {
        if (entries != nullptr) {
            *entries << action->text();
        }
        if (action->data().toInt() == CK52CONDlg::kCardMenuBase + code) {
            wanted = action;
        }
    }
    ASSERT_NE(wanted, nullptr);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(wanted).center());
}

} // namespace

TEST_F(MainWindowTest, StartsWithEverySlotCheckedAndTheComSlotShown) {
    m_profile->WriteString(L"ComSettings", L"COMPortDisplayName", L"COM3");
    CK52CONDlg& window = OpenWindow();

    EXPECT_EQ(window.windowTitle(), QString::fromStdWString(GetVersionCaption()));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("K52CFG Version 1.17.75"));
    EXPECT_EQ(Control<QLabel>(CK52CONDlg::IdFileName)->text(), QStringLiteral("Filename : No File"));

    CSlotList* list = window.SlotList();
    ASSERT_EQ(list->rowCount(), 17);
    EXPECT_EQ(list->GetCheckedMask(), 0x1FFFFu);
    // "All On/Off" tells that every slot is checked.
    EXPECT_TRUE(Control<QCheckBox>(CK52CONDlg::IdAllOnOff)->isChecked());
    EXPECT_EQ(window.GetSelectedSlot(), 0);
    EXPECT_EQ(list->FirstSelectedRow(), 0);
    EXPECT_EQ(list->item(0, CSlotList::ColumnNo)->text(), QStringLiteral("COM"));
    EXPECT_EQ(list->item(16, CSlotList::ColumnNo)->text(), QStringLiteral("IO16"));

    // Every slot holds its default card, and the COM card is the one shown.
    const CCardSlot& rack = window.GetRack();
    EXPECT_EQ(rack.GetCard(0)->GetCardName().GetModelName(),
              CCOMCardType().CreateByCode(0)->GetCardName().GetModelName());
    for (int slot = 1; slot < 17; ++slot) {
        EXPECT_EQ(rack.GetCard(slot)->GetTypeCode(), 0) << slot;
        EXPECT_EQ(CardText(slot), ShortName(rack.GetCard(slot)));
    }
    EXPECT_EQ(Control<QPushButton>(CK52CONDlg::IdModelButton)->text(),
              QStringLiteral(" ") + LongName(rack.GetCard(0)));
    EXPECT_TRUE(Control<QPushButton>(CK52CONDlg::IdModelButton)->isEnabled());
    EXPECT_GT(window.ParameterList()->GetRowCount(), 0);

    // The port list in its order, the demo station last, the stored port chosen.
    auto* ports = Control<QComboBox>(CK52CONDlg::IdPortCombo);
    ASSERT_EQ(ports->count(), 19);
    EXPECT_EQ(ports->itemText(0), QStringLiteral("COM1"));
    EXPECT_EQ(ports->itemText(16), QString::fromStdWString(k52test::kTestStationName));
    EXPECT_EQ(ports->itemText(17), QString::fromStdWString(CComPortList::kDemoStationName));
    EXPECT_EQ(ports->itemText(18), QStringLiteral("Other port..."));
    EXPECT_EQ(ports->currentText(), QStringLiteral("COM3"));

    EXPECT_TRUE(Control<QPushButton>(CK52CONDlg::IdMonitor)->isEnabled());
    EXPECT_TRUE(m_errors.Texts().empty());
}

TEST_F(MainWindowTest, ControlsCarryTheirIdentifiersInTheLayoutOrder) {
    CK52CONDlg& window = OpenWindow();
    std::vector<int> ids;
    QStringList groupTitles;
    for (QObject* child : window.children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget == nullptr || widget->isWindow()) {
            continue;
        }
        if (std::optional<int> id = GetControlId(widget)) {
            ids.push_back(*id);
        }
        if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            groupTitles << group->title();
        }
    }
    // The layout's own, then Compare and Report, placed in free room: they
    // cover no control of the layout.
    EXPECT_EQ(ids, (std::vector<int>{1011, 1009, 1010, 1001, 1002, 1005, 1012, 1025, 1003, 1004, 1006, 1026, 1008,
                                     1007, 1000, CK52CONDlg::IdCompare, CK52CONDlg::IdReport}));
    for (const int added : {CK52CONDlg::IdCompare, CK52CONDlg::IdReport}) {
        const QRect place = Control(added)->geometry();
        EXPECT_TRUE(window.rect().contains(place));
        ForEachTranslatedControl(&window, [&](QWidget* control, int id) {
            if (id != added && qobject_cast<QGroupBox*>(control) == nullptr) {
                EXPECT_FALSE(place.intersects(control->geometry())) << added << " covers " << id;
            }
        });
    }
    EXPECT_EQ(groupTitles, (QStringList{QStringLiteral("Communication"), QStringLiteral("File Menu")}));
}

TEST_F(MainWindowTest, StoredPortThatIsGoneFallsBackToTheFirstEntry) {
    m_profile->WriteString(L"ComSettings", L"COMPortDisplayName", L"COM99");
    OpenWindow();
    EXPECT_EQ(Control<QComboBox>(CK52CONDlg::IdPortCombo)->currentIndex(), 0);
}

TEST_F(MainWindowTest, AllOnOffChecksAndUnchecksEveryRow) {
    CK52CONDlg& window = OpenWindow();
    CSlotList* list = window.SlotList();
    // The user takes slot 5 out with the space bar on its row.
    ClickSlotRow(5);
    QTest::keyClick(list->viewport(), Qt::Key_Space);
    ASSERT_EQ(list->GetCheckedMask(), 0x1FFFFu & ~(1u << 5));

    Click(CK52CONDlg::IdAllOnOff);
    EXPECT_EQ(list->GetCheckedMask(), 0x1FFFFu);
    Click(CK52CONDlg::IdAllOnOff);
    EXPECT_FALSE(Control<QCheckBox>(CK52CONDlg::IdAllOnOff)->isChecked());
    EXPECT_EQ(list->GetCheckedMask(), 0u);
    for (int row = 0; row < 17; ++row) {
        EXPECT_EQ(list->item(row, CSlotList::ColumnNo)->checkState(), Qt::Unchecked) << row;
    }
}

TEST_F(MainWindowTest, ChoosingAModelPutsAFreshDefaultCardInTheSlot) {
    CK52CONDlg& window = OpenWindow();
    ClickSlotRow(2);
    ASSERT_EQ(window.GetSelectedSlot(), 2);

    constexpr int kz9w = 4;
    QStringList entries;
    WhenPopupShown([&](QWidget* popup) { ChooseFromMenu(popup, kz9w, &entries); });
    Click(CK52CONDlg::IdModelButton);

    CIOCardType registry;
    const int models = MenuModelCount(CardRegistry::Io);
    ASSERT_EQ(entries.size(), models);
    for (int code = 0; code < models; ++code) {
        EXPECT_EQ(entries[code], QString::fromStdWString(registry.GetLongNameByCode(code))) << code;
    }
    CCardSlot::CardHandle card = window.GetRack().GetCard(2);
    ASSERT_EQ(card->GetTypeCode(), kz9w);
    EXPECT_EQ(CardText(2), ShortName(card));
    EXPECT_EQ(Control<QPushButton>(CK52CONDlg::IdModelButton)->text(), QStringLiteral(" ") + LongName(card));
    EXPECT_EQ(window.SlotList()->FirstSelectedRow(), 2);

    // Choosing the same model again starts over from the defaults.
    std::unique_ptr<CCardInterface> defaults = registry.CreateByCode(kz9w);
    int changed = -1;
    for (int row = 0; row < card->GetParameterCount() && changed < 0; ++row) {
        if (card->IsDisabled(row)) {
            continue;
        }
        for (const wchar_t* text : {L"1", L"2", L"0"}) {
            try {
                card->SetFromText(row, text);
            } catch (const std::exception&) {
                continue;
            }
            if (card->GetStoredValueText(row) != defaults->GetStoredValueText(row)) {
                changed = row;
                break;
            }
        }
    }
    ASSERT_GE(changed, 0) << "no parameter of the model could be changed";
    WhenPopupShown([&](QWidget* popup) { ChooseFromMenu(popup, kz9w); });
    Click(CK52CONDlg::IdModelButton);
    CCardSlot::CardHandle fresh = window.GetRack().GetCard(2);
    EXPECT_NE(fresh.get(), card.get());
    for (int row = 0; row < fresh->GetParameterCount(); ++row) {
        EXPECT_EQ(fresh->GetStoredValueText(row), defaults->GetStoredValueText(row)) << row;
    }
}

TEST_F(MainWindowTest, TheComSlotOffersTheCommunicationModels) {
    CK52CONDlg& window = OpenWindow();
    constexpr int k52hq8 = 3;
    QStringList entries;
    WhenPopupShown([&](QWidget* popup) { ChooseFromMenu(popup, k52hq8, &entries); });
    Click(CK52CONDlg::IdModelButton);

    CCOMCardType registry;
    const int models = MenuModelCount(CardRegistry::Com);
    ASSERT_EQ(entries.size(), models);
    for (int code = 0; code < models; ++code) {
        EXPECT_EQ(entries[code], QString::fromStdWString(registry.GetLongNameByCode(code))) << code;
    }
    EXPECT_EQ(window.GetRack().GetCard(0)->GetCardName().GetModelName(),
              registry.CreateByCode(k52hq8)->GetCardName().GetModelName());
    EXPECT_EQ(CardText(0), ShortName(window.GetRack().GetCard(0)));
}

TEST_F(MainWindowTest, OpeningAFileKeepsTheSelectedSlotAndShowsItsLoadedCard) {
    TempDir directory;
    const std::wstring path = directory.file("plant.cfg");
    CCardSlot saved;
    saved.Clear();
    saved.SetCard(3, CIOCardType().CreateByCode(4));
    saved.SetCard(7, CIOCardType().CreateByCode(7));
    saved.SaveToFile(path);

    CK52CONDlg& window = OpenWindow();
    ClickSlotRow(3);
    AnswerFileDialogs(path);
    Click(CK52CONDlg::IdOpenFile);

    EXPECT_TRUE(m_errors.Texts().empty());
    EXPECT_EQ(Control<QLabel>(CK52CONDlg::IdFileName)->text(), QStringLiteral("Filename : plant.cfg"));
    EXPECT_EQ(window.GetSelectedSlot(), 3);
    EXPECT_EQ(window.SlotList()->FirstSelectedRow(), 3);
    CCardSlot::CardHandle card = window.GetRack().GetCard(3);
    EXPECT_EQ(card->GetTypeCode(), 4);
    EXPECT_EQ(CardText(3), ShortName(card));
    EXPECT_EQ(CardText(7), ShortName(window.GetRack().GetCard(7)));
    EXPECT_EQ(Control<QPushButton>(CK52CONDlg::IdModelButton)->text(), QStringLiteral(" ") + LongName(card));
    ASSERT_EQ(m_fileLog->filterTexts.size(), 1u);
    EXPECT_EQ(m_fileLog->filterTexts[0], CResourceManager::GetMessage(Msg::fopenfilter));
}

TEST_F(MainWindowTest, AFileThatCannotBeOpenedChangesNothing) {
    TempDir directory;
    CK52CONDlg& window = OpenWindow();
    WhenPopupShown([&](QWidget* popup) { ChooseFromMenu(popup, 3); });
    Click(CK52CONDlg::IdModelButton);
    std::vector<CCardInterface*> before;
    before.reserve(17);
    for (int slot = 0; slot < 17; ++slot) {
        before.push_back(window.GetRack().GetCard(slot).get());
    }
    const QString comText = CardText(0);

    for (const std::string& content :
         {std::string("not a configuration"),
          std::string("<?xml version='1.0'?><root><application>K52CFG</application>"
                      "<filetype>language</filetype></root>")}) {
        SCOPED_TRACE(content);
        const std::size_t shown = m_errors.Texts().size();
        k52test::WriteFile(directory.path() / "broken.cfg", content);
        AnswerFileDialogs(directory.file("broken.cfg"));
        k52test::AnswerUnsavedQuestion(QStringLiteral("Discard"));
        Click(CK52CONDlg::IdOpenFile);

        ASSERT_EQ(m_errors.Texts().size(), shown + 1);
        EXPECT_EQ(Control<QLabel>(CK52CONDlg::IdFileName)->text(), QStringLiteral("Filename : No File"));
        for (int slot = 0; slot < 17; ++slot) {
            EXPECT_EQ(window.GetRack().GetCard(slot).get(), before[static_cast<std::size_t>(slot)]) << slot;
        }
        EXPECT_EQ(CardText(0), comText);
    }
}

TEST_F(MainWindowTest, SavingWritesTheRackAndNamesTheFileOnlyWhenItWorked) {
    TempDir directory;
    OpenWindow();
    ClickSlotRow(5);
    WhenPopupShown([&](QWidget* popup) { ChooseFromMenu(popup, 7); });
    Click(CK52CONDlg::IdModelButton);

    AnswerFileDialogs(directory.file("missing-folder/plant.cfg"));
    Click(CK52CONDlg::IdSaveFile);
    EXPECT_EQ(m_errors.Texts().size(), 1u);
    EXPECT_EQ(Control<QLabel>(CK52CONDlg::IdFileName)->text(), QStringLiteral("Filename : No File"));

    AnswerFileDialogs(directory.file("plant.cfg"));
    Click(CK52CONDlg::IdSaveFile);
    EXPECT_EQ(m_errors.Texts().size(), 1u);
    EXPECT_EQ(Control<QLabel>(CK52CONDlg::IdFileName)->text(), QStringLiteral("Filename : plant.cfg"));
    CCardSlot reopened;
    reopened.LoadFromFile(directory.file("plant.cfg"));
    EXPECT_EQ(reopened.GetCard(5)->GetTypeCode(), 7);

    // A cancelled file dialog does nothing at all.
    AnswerFileDialogs(std::nullopt);
    Click(CK52CONDlg::IdOpenFile);
    Click(CK52CONDlg::IdSaveFile);
    EXPECT_EQ(Control<QLabel>(CK52CONDlg::IdFileName)->text(), QStringLiteral("Filename : plant.cfg"));
    EXPECT_EQ(m_errors.Texts().size(), 1u);
}

TEST_F(MainWindowTest, EnterAndEscapeNeverCloseTheWindow) {
    CK52CONDlg& window = OpenWindow();
    ClickSlotRow(1);
    WhenPopupShown([&](QWidget* popup) { ChooseFromMenu(popup, 4); });
    Click(CK52CONDlg::IdModelButton);
    CParameterListCtrl* parameters = window.ParameterList();
    ASSERT_GT(parameters->GetRowCount(), 0);
    // The user picks the first parameter that can be changed, by its name.
    int editable = 0;
    while (editable < parameters->GetRowCount() &&
           window.GetRack().GetCard(1)->IsDisabled(parameters->ParameterOfRow(editable))) {
        ++editable;
    }
    ASSERT_LT(editable, parameters->GetRowCount());
    QRect row = parameters->visualItemRect(parameters->RowItem(editable));
    int nameX = parameters->header()->sectionViewportPosition(CParameterListCtrl::ColumnName) + 4;
    QTest::mouseClick(parameters->viewport(), Qt::LeftButton, {}, QPoint(nameX, row.center().y()));
    ASSERT_EQ(parameters->GetEditedParameter(), -1);

    // Enter in the parameter list opens the editor of the selected row;
    // Escape takes it back. Neither closes the window.
    QTest::keyClick(parameters, Qt::Key_Return);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(parameters->GetEditedParameter(), parameters->ParameterOfRow(editable));
    EXPECT_TRUE(parameters->Editors().IsAnyActive());
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(parameters->Editors().IsAnyActive());

    for (int id : {CK52CONDlg::IdSlotList, CK52CONDlg::IdPortCombo, CK52CONDlg::IdAllOnOff}) {
        QWidget* control = Control(id);
        control->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(control, key);
            EXPECT_TRUE(window.isVisible()) << id << " " << key;
        }
    }
    EXPECT_TRUE(m_errors.Texts().empty());

    // Only the close request ends it, with the code 0.
    int result = -1;
    QTimer::singleShot(0, &window, [&] {
        QTest::keyClick(&window, Qt::Key_Escape);
        QTest::keyClick(&window, Qt::Key_Return);
        // The changed model is thrown away when asked.
        k52test::AnswerUnsavedQuestion(QStringLiteral("Discard"));
        window.close();
    });
    result = window.exec();
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindowTest, TabLeavesTheSlotListForTheNextControl) {
    CK52CONDlg& window = OpenWindow();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ClickSlotRow(2);
    CSlotList* slotList = window.SlotList();
    ASSERT_TRUE(slotList->hasFocus());

    // Tab goes on to the parameter list, and Shift+Tab back, as between any
    // two controls; the selected slot stays.
    QTest::keyClick(slotList, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Control(CK52CONDlg::IdParameterList));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), slotList);
    QTest::keyClick(slotList, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), Control(CK52CONDlg::IdModelButton));
    EXPECT_EQ(slotList->FirstSelectedRow(), 2);
}

TEST_F(MainWindowTest, ALanguageFileThatCannotBeReadIsShownOnceAndTheWindowGoesOn) {
    m_profile->WriteString(L"Settings", L"DisplayLanguage", L"Missing.lng");
    CK52CONDlg& window = OpenWindow();

    ASSERT_EQ(m_errors.Texts().size(), 1u);
    EXPECT_NE(m_errors.Texts()[0].find(L"Missing.lng"), std::wstring::npos);
    // The rack and its choice of slots are all there, with the layout's texts.
    EXPECT_EQ(window.SlotList()->rowCount(), 17);
    EXPECT_EQ(window.SlotList()->GetCheckedMask(), 0x1FFFFu);
    EXPECT_EQ(Control<QPushButton>(CK52CONDlg::IdUpload)->text(), QStringLiteral("&Upload"));
    EXPECT_EQ(window.windowTitle(), QString::fromStdWString(GetVersionCaption()));
}

TEST_F(MainWindowTest, PreferencesAreStoredOnlyWhenConfirmed) {
    auto profile = std::make_shared<CMemoryProfile>();
    m_profile = profile;
    CProfile::SetApplication(profile);
    CK52CONDlg& window = OpenWindow();

    k52test::WhenModalShown([&](QWidget* modal) {
        QTest::mouseClick(FindControlAs<QPushButton>(modal, CPreferencesDialog::IdCancel), Qt::LeftButton);
    });
    Click(CK52CONDlg::IdPreferences);
    EXPECT_EQ(profile->GetString(L"Settings", L"DisplayLanguage", L"<none>"), L"<none>");

    QString chosen;
    k52test::WhenModalShown([&](QWidget* modal) {
        auto* list = FindControlAs<QComboBox>(modal, CPreferencesDialog::IdLanguageList);
        int english = list->findText(QStringLiteral("English"));
        ASSERT_GE(english, 0);
        list->setCurrentIndex(english);
        QTest::mouseClick(FindControlAs<QPushButton>(modal, CPreferencesDialog::IdOk), Qt::LeftButton);
    });
    Click(CK52CONDlg::IdPreferences);
    EXPECT_EQ(profile->GetString(L"Settings", L"DisplayLanguage", L"<none>"), L"English.lng");
    // The window is translated again and keeps its rack and selection.
    EXPECT_TRUE(m_errors.Texts().empty());
    EXPECT_EQ(window.SlotList()->rowCount(), 17);
    EXPECT_EQ(window.SlotList()->FirstSelectedRow(), 0);
    EXPECT_EQ(Control<QPushButton>(CK52CONDlg::IdUpload)->text(), QStringLiteral("&Upload"));
}

TEST_F(MainWindowTest, ACommittedParameterRefreshesTheSlotList) {
    CK52CONDlg& window = OpenWindow();
    ClickSlotRow(1);
    WhenPopupShown([&](QWidget* popup) { ChooseFromMenu(popup, 4); });
    Click(CK52CONDlg::IdModelButton);
    CParameterListCtrl* parameters = window.ParameterList();
    CCardSlot::CardHandle card = window.GetRack().GetCard(1);

    // The first row that is typed into, opened with Enter.
    CEditText* editor = parameters->Editors().TextEditor();
    int row = 0;
    for (; row < parameters->GetRowCount(); ++row) {
        if (card->IsDisabled(parameters->ParameterOfRow(row))) {
            continue;
        }
        QRect rect = parameters->visualItemRect(parameters->RowItem(row));
        int nameX = parameters->header()->sectionViewportPosition(CParameterListCtrl::ColumnName) + 4;
        QTest::mouseClick(parameters->viewport(), Qt::LeftButton, {}, QPoint(nameX, rect.center().y()));
        QTest::keyClick(parameters, Qt::Key_Return);
        if (editor->isVisible()) {
            break;
        }
        QTest::keyClick(&window, Qt::Key_Escape);
    }
    ASSERT_LT(row, parameters->GetRowCount()) << "no parameter of the model is typed in";

    // Something made the list's text stale; the next commit puts it right.
    window.SlotList()->item(1, CSlotList::ColumnCard)->setText(QStringLiteral("stale"));
    const std::wstring value = card->GetStoredValueText(parameters->ParameterOfRow(row));
    editor->selectAll();
    QTest::keyClicks(editor, QString::fromStdWString(value));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(m_errors.Texts().empty());
    EXPECT_EQ(CardText(1), ShortName(card));
}

TEST_F(MainWindowTest, ChoosingJapaneseTranslatesTheWindowAndTheWindowsOpenedLater) {
    CK52CONDlg& window = OpenWindow();
    CCardSlot::CardHandle card = window.GetRack().GetCard(0);
    const QString englishCaption = window.ParameterList()->RowItem(0)->text(CParameterListCtrl::ColumnName);
    ASSERT_EQ(Control<QPushButton>(CK52CONDlg::IdUpload)->text(), QStringLiteral("&Upload"));

    // The user picks the language with the keyboard and confirms with Enter.
    k52test::WhenModalShown([](QWidget* modal) {
        auto* list = FindControlAs<QComboBox>(modal, CPreferencesDialog::IdLanguageList);
        ASSERT_NE(list, nullptr);
        const int japanese = list->findText(QStringLiteral("日本語"));
        ASSERT_GE(japanese, 0);
        list->setFocus();
        for (int steps = 0; steps < list->count() && list->currentIndex() != japanese; ++steps) {
            QTest::keyClick(list, list->currentIndex() < japanese ? Qt::Key_Down : Qt::Key_Up);
        }
        QTest::keyClick(modal, Qt::Key_Return);
    });
    Click(CK52CONDlg::IdPreferences);
    ASSERT_TRUE(m_errors.Texts().empty());
    EXPECT_EQ(m_profile->GetString(L"Settings", L"DisplayLanguage", L""), L"Japanese.lng");

    // The window is translated again: its controls, the model button and the
    // captions of the parameter list.
    EXPECT_EQ(Control<QPushButton>(CK52CONDlg::IdUpload)->text(), QStringLiteral("アップロード(&U)"));
    EXPECT_EQ(Control<QPushButton>(CK52CONDlg::IdPreferences)->text(), QStringLiteral("環境設定(&P)"));
    const std::wstring section = card->GetSectionName();
    EXPECT_EQ(Control<QPushButton>(CK52CONDlg::IdModelButton)->text().trimmed().toStdWString(),
              CResourceManager::Database().GetParameterText(section, L"lname"));
    const QString caption = window.ParameterList()->RowItem(0)->text(CParameterListCtrl::ColumnName);
    EXPECT_EQ(caption.toStdWString(),
              CResourceManager::Database().GetParameterText(section, card->GetParameter(window.ParameterList()->ParameterOfRow(0)).textKey));
    EXPECT_NE(caption, englishCaption);
    EXPECT_EQ(window.SlotList()->rowCount(), 17);

    // A window opened afterwards speaks the new language as well.
    QString title;
    QString cancel;
    k52test::WhenModalShown([&](QWidget* modal) {
        title = modal->windowTitle();
        cancel = FindControlAs<QPushButton>(modal, CPreferencesDialog::IdCancel)->text();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    Click(CK52CONDlg::IdPreferences);
    EXPECT_EQ(title, QStringLiteral("環境設定"));
    EXPECT_EQ(cancel, QStringLiteral("キャンセル(&C)"));

    // Without a font holding the glyphs every text above shows as boxes.
    // (Windows finds the glyphs through its own font linking, which Qt's
    // font list does not show; the Windows stage checks its font itself.)
#ifndef _WIN32
    EXPECT_FALSE(QFontDatabase::families(QFontDatabase::Japanese).isEmpty())
        << "no font with Japanese glyphs is installed (scripts/setup.sh installs fonts-ipafont-gothic)";
#endif
    if (const char* screenshot = std::getenv("K52_SCREENSHOT_JAPANESE")) {
        QTest::qWait(50);
        EXPECT_TRUE(window.grab().save(QString::fromLocal8Bit(screenshot)));
    }
}

namespace {

// In the open preferences: the language of that name, chosen and confirmed.
void ConfirmLanguage(QWidget* preferences, const QString& name) {
    auto* list = FindControlAs<QComboBox>(preferences, CPreferencesDialog::IdLanguageList);
    ASSERT_NE(list, nullptr);
    list->setCurrentIndex(list->findText(name));
    ASSERT_GE(list->currentIndex(), 0) << name.toStdString();
    QTest::keyClick(preferences, Qt::Key_Return);
}

QStringList GroupTitles(const QWidget& window) {
    QStringList titles;
    for (const QGroupBox* group : window.findChildren<QGroupBox*>()) {
        titles << group->title();
    }
    return titles;
}

QString QtCancelText() {
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    return buttons.button(QDialogButtonBox::Cancel)->text();
}

} // namespace

TEST_F(MainWindowTest, ALanguageSwitchTranslatesEverythingAndKeepsTheOpenFileNamed) {
    TempDir directory;
    const std::wstring path = directory.file("plant.cfg");
    CCardSlot saved;
    saved.Clear();
    saved.SaveToFile(path);
    CK52CONDlg& window = OpenWindow();
    AnswerFileDialogs(path);
    Click(CK52CONDlg::IdOpenFile);
    auto* fileName = Control<QLabel>(CK52CONDlg::IdFileName);
    auto* ports = Control<QComboBox>(CK52CONDlg::IdPortCombo);
    ASSERT_EQ(fileName->text(), QStringLiteral("Filename : plant.cfg"));
    EXPECT_EQ(QtCancelText(), QStringLiteral("Cancel"));

    k52test::WhenModalShown([](QWidget* modal) { ConfirmLanguage(modal, QStringLiteral("日本語")); });
    Click(CK52CONDlg::IdPreferences);
    ASSERT_TRUE(m_errors.Texts().empty());
    EXPECT_EQ(fileName->text(), QStringLiteral("ファイル名 : plant.cfg"));
    EXPECT_EQ(GroupTitles(window), (QStringList{QStringLiteral("通信"), QStringLiteral("ファイル")}));
    EXPECT_EQ(ports->itemText(ports->count() - 2), QStringLiteral("デモステーション（シミュレーション）"));
    // Qt's own buttons and dialogs as well.
    EXPECT_EQ(QtCancelText(), QStringLiteral("キャンセル"));

    k52test::WhenModalShown([](QWidget* modal) { ConfirmLanguage(modal, QStringLiteral("English")); });
    Click(CK52CONDlg::IdPreferences);
    EXPECT_EQ(fileName->text(), QStringLiteral("Filename : plant.cfg"));
    EXPECT_EQ(GroupTitles(window),
              (QStringList{QStringLiteral("Communication"), QStringLiteral("File Menu")}));
    EXPECT_EQ(ports->itemText(ports->count() - 2), QString::fromStdWString(CComPortList::kDemoStationName));
    EXPECT_EQ(QtCancelText(), QStringLiteral("Cancel"));

    // A name longer than the label is shortened in its middle, whole in the tool tip.
    const std::wstring longPath = directory.file(std::string(120, 'x') + "-plant.cfg");
    saved.SaveToFile(longPath);
    AnswerFileDialogs(longPath);
    Click(CK52CONDlg::IdOpenFile);
    EXPECT_TRUE(fileName->text().contains(QChar(0x2026))) << fileName->text().toStdString();
    EXPECT_TRUE(fileName->text().endsWith(QStringLiteral("-plant.cfg")));
    EXPECT_LE(fileName->fontMetrics().horizontalAdvance(fileName->text()), fileName->width());
    EXPECT_EQ(fileName->toolTip(),
              QStringLiteral("Filename : ") + QString(120, QLatin1Char('x')) + QStringLiteral("-plant.cfg"));
    EXPECT_TRUE(m_errors.Texts().empty());
}

TEST_F(MainWindowTest, CtrlFFromAnywhereInTheWindowOpensTheParameterFilter) {
    CK52CONDlg& window = OpenWindow();
    window.SlotList()->setFocus();
    QTest::keyClick(window.SlotList(), Qt::Key_F, Qt::ControlModifier);
    QLineEdit* field = window.ParameterList()->FilterField();
    ASSERT_TRUE(field->isVisible());
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(field->placeholderText().toStdWString(), CResourceManager::GetMessage(Msg::listfilter));
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(field->isVisible());
    EXPECT_TRUE(window.isVisible()) << "Escape in the field closes the field only";
}

// A hand-edited file opens all the same, and the window says once what is odd in it.
TEST_F(MainWindowTest, OpeningAnOddHandEditedFileNamesWhatIsOdd) {
    TempDir directory;
    CCardSlot saved;
    saved.Clear();
    saved.SaveToFile(directory.file("plant.cfg"));
    std::string content = k52test::ReadFile(directory.path() / "plant.cfg");
    content.replace(content.find("<type>null</type>"), 17, "<type>FOO9W</type>");
    k52test::WriteFile(directory.path() / "odd.cfg", content);

    CK52CONDlg& window = OpenWindow();
    AnswerFileDialogs(directory.file("odd.cfg"));
    Click(CK52CONDlg::IdOpenFile);

    ASSERT_EQ(m_errors.Texts().size(), 1u);
    EXPECT_EQ(m_errors.Texts()[0], window.GetRack().FormatLoadWarnings(L"odd.cfg", 20));
    EXPECT_NE(m_errors.Texts()[0].find(L"IO01: unknown model \"FOO9W\""), std::wstring::npos) << m_errors.Texts()[0];
    EXPECT_EQ(Control<QLabel>(CK52CONDlg::IdFileName)->text(), QStringLiteral("Filename : odd.cfg"));
}
