#include "app/CAppSettings.h"
#include "app/ui/CPreferencesDialog.h"
#include "base/CResourceManager.h"
#include "base/Version.h"
#include "base/ui/ControlId.h"
#include "support/GuiTestSupport.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

using k52test::TempDir;
using k52test::WhenModalShown;
using k52test::WriteFile;

namespace {

std::string LanguageFile(const std::string& filetype, const std::string& language) {
    return "<?xml version='1.0' encoding='utf-8'?><root><application>K52CFG</application><filetype>" +
           filetype + "</filetype><language>" + language + "</language></root>";
}

// What the window showed while it was open.
struct Seen {
    QStringList entries;
    int selected = -2;
    QString caption;
    QString label;
};

Seen Look(QWidget* modal) {
    Seen seen;
    auto* list = FindControlAs<QComboBox>(modal, CPreferencesDialog::IdLanguageList);
    EXPECT_NE(list, nullptr);
    if (list != nullptr) {
        for (int i = 0; i < list->count(); ++i) {
            seen.entries << list->itemText(i);
        }
        seen.selected = list->currentIndex();
    }
    seen.caption = modal->windowTitle();
    if (auto* label = FindControlAs<QLabel>(modal, CPreferencesDialog::IdLanguageLabel)) {
        seen.label = label->text();
    }
    return seen;
}

void Click(QWidget* modal, int id) {
    auto* button = FindControlAs<QPushButton>(modal, id);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

class PreferencesDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        k52test::LoadEnglish();
        // Two names that differ only in letter case, and what must not be offered.
        WriteFile(m_dir.path() / "Lang.lng", LanguageFile("language", "Upper"));
        if (std::filesystem::exists(m_dir.path() / "lang.lng")) {
            GTEST_SKIP() << "this file system does not tell names apart by letter case (Windows)";
        }
        WriteFile(m_dir.path() / "lang.lng", LanguageFile("language", "Lower"));
        WriteFile(m_dir.path() / "Broken.lng", "<root><application>K52CFG</application>");
        WriteFile(m_dir.path() / "Config.lng", LanguageFile("configuration", "Configuration"));
        WriteFile(m_dir.path() / "Nameless.lng", LanguageFile("language", ""));
        WriteFile(m_dir.path() / "Other.txt", LanguageFile("language", "Text file"));
        std::filesystem::create_directory(m_dir.path() / "Folder.lng");
    }

    // Runs Edit with the stored name; the user's part happens in act.
    bool Edit(CAppSettings& settings, const std::function<void(QWidget*)>& act) {
        CPreferencesDialog dialog(nullptr, m_dir.path().wstring());
        WhenModalShown([&](QWidget* modal) {
            m_seen = Look(modal);
            act(modal);
        });
        return dialog.Edit(settings);
    }

    TempDir m_dir;
    Seen m_seen;
    k52test::ErrorBoxRecorder m_errors;
};

} // namespace

TEST_F(PreferencesDialogTest, OffersLoadableFilesAndPreselectsOnlyTheExactName) {
    CAppSettings settings;
    settings.SetDisplayLanguage(L"lang.lng");

    bool changed = Edit(settings, [](QWidget* modal) { Click(modal, CPreferencesDialog::IdOk); });

    EXPECT_EQ(m_seen.entries, QStringList({"Upper", "Lower"}));
    EXPECT_EQ(m_seen.selected, 1);
    EXPECT_EQ(m_seen.caption, "Preferences");
    EXPECT_EQ(m_seen.label, "Display language");
    EXPECT_TRUE(m_errors.Texts().empty()) << "nothing is said about files that are left out";
    EXPECT_TRUE(changed);
    EXPECT_EQ(settings.GetDisplayLanguage(), L"lang.lng");
}

TEST_F(PreferencesDialogTest, OkWithANewChoiceTakesItsFileName) {
    CAppSettings settings;
    settings.SetDisplayLanguage(L"Lang.lng");

    bool changed = Edit(settings, [](QWidget* modal) {
        QTest::keyClick(FindControl(modal, CPreferencesDialog::IdLanguageList), Qt::Key_Down);
        Click(modal, CPreferencesDialog::IdOk);
    });

    EXPECT_EQ(m_seen.selected, 0);
    EXPECT_TRUE(changed);
    EXPECT_EQ(settings.GetDisplayLanguage(), L"lang.lng");
}

TEST_F(PreferencesDialogTest, CancelOrEscapeAfterAChangeLeavesTheSettings) {
    for (bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "Cancel");
        CAppSettings settings;
        settings.SetDisplayLanguage(L"Lang.lng");

        bool changed = Edit(settings, [escape](QWidget* modal) {
            QTest::keyClick(FindControl(modal, CPreferencesDialog::IdLanguageList), Qt::Key_Down);
            if (escape) {
                QTest::keyClick(modal, Qt::Key_Escape);
            } else {
                Click(modal, CPreferencesDialog::IdCancel);
            }
        });

        EXPECT_FALSE(changed);
        EXPECT_EQ(settings.GetDisplayLanguage(), L"Lang.lng");
    }
}

TEST_F(PreferencesDialogTest, StoredNameWithoutFileSelectsNothingAndOkKeepsIt) {
    CAppSettings settings;
    settings.SetDisplayLanguage(L"LANG.lng");

    bool changed = Edit(settings, [](QWidget* modal) { Click(modal, CPreferencesDialog::IdOk); });

    EXPECT_EQ(m_seen.entries.size(), 2);
    EXPECT_EQ(m_seen.selected, -1);
    EXPECT_TRUE(changed);
    EXPECT_EQ(settings.GetDisplayLanguage(), L"LANG.lng");
}

TEST_F(PreferencesDialogTest, LanguageWithoutTheWindowsTextsStillOffersTheChoice) {
    WriteFile(m_dir.path() / "Bare.lng", LanguageFile("language", "Bare"));
    CResourceManager::Database().Load(m_dir.file("Bare.lng"));
    CAppSettings settings;
    settings.SetDisplayLanguage(L"Bare.lng");

    bool changed = Edit(settings, [](QWidget* modal) { Click(modal, CPreferencesDialog::IdCancel); });

    ASSERT_EQ(m_errors.Texts().size(), 1u);
    EXPECT_NE(m_errors.Texts()[0].find(L"gui[@name='130']"), std::wstring::npos) << m_errors.Texts()[0];
    EXPECT_EQ(m_seen.entries, QStringList({"Bare", "Upper", "Lower"}));
    EXPECT_EQ(m_seen.selected, 0);
    EXPECT_EQ(m_seen.caption, "Preferences");
    EXPECT_FALSE(changed);
}

TEST(AboutBoxTest, NamesTheVersionAndTheLicencesOfWhatTheProgramIsBuiltFrom) {
    k52test::LoadEnglish();
    CAppSettings settings;
    CPreferencesDialog dialog(nullptr);
    QString title;
    QString text;
    WhenModalShown([&](QWidget* preferences) {
        WhenModalShown([&](QWidget* about) {
            title = about->windowTitle();
            if (auto* box = qobject_cast<QMessageBox*>(about)) {
                text = box->text();
            }
            QTest::keyClick(about, Qt::Key_Escape);
        });
        Click(preferences, CPreferencesDialog::IdAbout);
        QTest::keyClick(preferences, Qt::Key_Escape);
    });
    dialog.Edit(settings);

    EXPECT_EQ(title, QStringLiteral("About K52CFG"));
    for (const QString& part : {QString::fromStdWString(GetVersionCaption()), QStringLiteral("MIT License"),
                                QStringLiteral("Qt ") + QString::fromLatin1(qVersion()),
                                QStringLiteral("GNU Lesser General Public License version 3"),
                                QStringLiteral("pugixml"), QStringLiteral("MinGW-w64")}) {
        EXPECT_TRUE(text.contains(part)) << part.toStdString() << " missing from: " << text.toStdString();
    }
}
