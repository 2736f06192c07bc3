// Every text the program can ask a language file for, gathered from the
// program itself (its windows, its card registries, its message look-ups),
// checked against every language file delivered beside it. A text that is
// missing makes the window or the look-up fail at the user's desk, so the
// test names each missing entry by its path in the file.
#include "MainWindowFixture.h"
#include "app/ui/CPreferencesDialog.h"
#include "app/ui/CReportDialog.h"
#include "base/CResourceDatabase.h"
#include "base/TextConvert.h"
#include "base/ui/ControlId.h"
#include "base/ui/ControlTextFit.h"
#include "base/ui/TranslateWindow.h"
#include "catalog/CCOMCardType.h"
#include "catalog/CIOCardType.h"
#include "catalog/ModelRegistry.h"
#include "monitor/ui/CEditAIO2.h"
#include "monitor/ui/CEditAIO4.h"
#include "monitor/ui/CEditAIO4_2.h"
#include "monitor/ui/CEditDIO32.h"
#include "monitor/ui/CMonitorDialog.h"
#include "rack/CRackComparison.h"
#include "rack/ui/CCompareDialog.h"
#include "rack/ui/CProgressDialog.h"
#include "support/MessageUses.h"

#include <pugixml.hpp>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <utility>

namespace {

namespace fs = std::filesystem;
using k52test::MessageUse;

// What the program asks for, independent of any language file.
struct Requirements {
    // (window, control); control 0 is the window's caption.
    std::set<std::pair<int, int>> gui;
    // (section, key) of names and row captions.
    std::set<std::pair<std::wstring, std::wstring>> parameterTexts;
    // (section, list) with the largest maximum of the rows using it: the
    // drop-down offers options 0 to that maximum.
    std::map<std::pair<std::wstring, std::wstring>, int> lists;
    std::vector<MessageUse> messages;
};

void CollectWindow(int window, const QWidget& widget, Requirements& requirements) {
    requirements.gui.emplace(window, 0);
    ForEachTranslatedControl(&widget, [&](QWidget*, int id) { requirements.gui.emplace(window, id); });
}

// A window whose entries were added after the first language files: a file
// without them keeps the layout's texts, so only the controls that show a
// text need one, and the caption only where the part is a window.
void CollectAddedWindow(int window, const QWidget& widget, Requirements& requirements) {
    if (widget.isWindow()) {
        requirements.gui.emplace(window, 0);
    }
    ForEachTranslatedControl(&widget, [&](QWidget* control, int id) {
        if (!ShownText(control).isEmpty()) {
            requirements.gui.emplace(window, id);
        }
    });
}

void CollectCard(const CCardInterface& card, Requirements& requirements) {
    const std::wstring& section = card.GetSectionName();
    for (const wchar_t* key : {L"lname", L"sname", L"scaledDATAname", L"rawDATAname"}) {
        requirements.parameterTexts.emplace(section, key);
    }
    // The monitor shows a clock module's date-and-time row under this caption.
    const bool clock = std::any_of(AllModelRows().begin(), AllModelRows().end(), [&](const ModelRow& row) {
        return row.traits.clockRow && section == row.name;
    });
    if (clock) {
        requirements.parameterTexts.emplace(section, L"datetimeset");
    }
    for (int row = 0; row < card.GetParameterCount(); ++row) {
        const ParameterDefinition& definition = card.GetParameter(row);
        requirements.parameterTexts.emplace(section, definition.textKey);
        if (definition.kind == KindList) {
            int& maximum = requirements.lists[{section, definition.fileKey}];
            maximum = std::max(maximum, static_cast<int>(definition.maximum));
        }
    }
}

// Every card both registries create, for every type code they know (and a
// few they do not), under both station attribute words.
void CollectCards(Requirements& requirements) {
    for (std::uint16_t word : {std::uint16_t{0}, std::uint16_t{1}}) {
        for (std::int32_t code = -2; code <= 40; ++code) {
            CollectCard(*CIOCardType(StationAttribute(word)).CreateByCode(code), requirements);
            CollectCard(*CCOMCardType().CreateByCode(code), requirements);
        }
    }
}

std::string Path(const std::string& element, const std::wstring& section, const std::string& rest) {
    return element + "[" + ToUtf8(section) + "]/" + rest;
}

// The paths of everything the file lacks, with a short reason where the
// entry exists but cannot serve.
std::vector<std::string> MissingEntries(const CResourceDatabase& texts, const Requirements& requirements) {
    std::vector<std::string> missing;
    for (const auto& [window, control] : requirements.gui) {
        try {
            texts.GetGuiText(window, control);
        } catch (const CException&) {
            missing.push_back("gui[" + std::to_string(window) + "]/text[" + std::to_string(control) + "]");
        }
    }
    for (const MessageUse& use : requirements.messages) {
        const std::string path = "message/text[" + ToUtf8(use.key) + "]";
        try {
            const std::wstring text = texts.GetMessage(use.key);
            if (text.empty()) {
                missing.push_back(path + " is empty");
            } else if (!k52test::TakesItsArguments(use, text)) {
                missing.push_back(path + " does not take its arguments");
            }
        } catch (const CException&) {
            missing.push_back(path);
        }
    }
    for (const auto& [section, key] : requirements.parameterTexts) {
        const std::string path = Path("parameter", section, "text[" + ToUtf8(key) + "]");
        try {
            if (texts.GetParameterText(section, key).empty()) {
                missing.push_back(path + " is empty");
            }
        } catch (const CException&) {
            missing.push_back(path);
        }
    }
    for (const auto& [list, maximum] : requirements.lists) {
        const auto& [section, key] = list;
        for (int option = 0; option <= maximum; ++option) {
            const std::string path =
                Path("parameter", section, "list[" + ToUtf8(key) + "]/node[" + std::to_string(option) + "]");
            try {
                if (texts.GetListText(section, key, option).empty()) {
                    missing.push_back(path + " is empty");
                }
                const int data = texts.GetListData(section, key, option);
                if (data != option) {
                    missing.push_back(path + "/data is " + std::to_string(data));
                }
            } catch (const CException&) {
                missing.push_back(path);
            }
        }
    }
    return missing;
}

std::string Lines(const std::vector<std::string>& paths) {
    std::ostringstream out;
    for (const std::string& path : paths) {
        out << "\n  " << path;
    }
    return out.str();
}

class LanguageCoverage : public k52test::MainWindowTest {
protected:
    const Requirements& Required() {
        if (!m_requirements) {
            Requirements requirements;
            CollectWindow(CK52CONDlg::kWindowNumber, OpenWindow(), requirements);
            CPreferencesDialog preferences;
            CollectWindow(130, preferences, requirements);
            CProgressDialog progress;
            CollectWindow(131, progress, requirements);
            CMonitorDialog monitor;
            CollectAddedWindow(CMonitorDialog::kTemplateId, monitor, requirements);
            // Its parts with window sections of their own: the simulation panels.
            for (const QWidget* part : monitor.findChildren<QWidget*>()) {
                if (std::optional<int> number = GetOwnWindowNumber(part)) {
                    CollectAddedWindow(*number, *part, requirements);
                }
            }
            const CCardSlot rack;
            CCompareDialog compare(CRackComparison(rack, rack), rack, L"");
            CollectWindow(CCompareDialog::kWindowNumber, compare, requirements);
            CFileChooser chooser;
            CReportDialog report(rack, chooser);
            CollectWindow(CReportDialog::kWindowNumber, report, requirements);
            CollectCards(requirements);
            requirements.messages = k52test::MessageUses();
            m_requirements = std::move(requirements);
        }
        return *m_requirements;
    }

    static std::vector<std::string> MissingIn(const fs::path& file, const Requirements& requirements) {
        CResourceDatabase texts;
        texts.Load(FromUtf8(file.string()));
        return MissingEntries(texts, requirements);
    }

private:
    std::optional<Requirements> m_requirements;
};

std::size_t CountWindow(const Requirements& requirements, int window) {
    return static_cast<std::size_t>(std::count_if(requirements.gui.begin(), requirements.gui.end(),
                                                  [&](const auto& entry) { return entry.first == window; }));
}

} // namespace

TEST_F(LanguageCoverage, TheProgramAsksForTextsOfEveryWindowModelAndMessage) {
    const Requirements& required = Required();
    // The gathering itself must see the windows and the models, or the
    // coverage below would pass on nothing.
    EXPECT_EQ(CountWindow(required, CK52CONDlg::kWindowNumber), 18u);
    EXPECT_EQ(CountWindow(required, CCompareDialog::kWindowNumber), 6u);
    EXPECT_EQ(CountWindow(required, CReportDialog::kWindowNumber), 11u);
    EXPECT_EQ(CountWindow(required, 130), 6u);
    EXPECT_EQ(CountWindow(required, 131), 4u);
    // The monitor's caption, group boxes, button and label (and whatever
    // controls were added to it since), and "SET" and the captions of each panel.
    EXPECT_GE(CountWindow(required, CMonitorDialog::kTemplateId), 5u);
    EXPECT_TRUE(required.gui.contains({CMonitorDialog::kTemplateId, CMonitorDialog::kCloseButtonId}));
    for (int panel : {CEditDIO32::kTemplateId, CEditAIO4::kTemplateId, CEditAIO2::kTemplateId,
                      CEditAIO4_2::kTemplateId}) {
        EXPECT_EQ(CountWindow(required, panel), 2u) << panel;
    }
    EXPECT_TRUE(required.gui.contains({CK52CONDlg::kWindowNumber, CK52CONDlg::IdPreferences}));
    EXPECT_TRUE(required.gui.contains({130, CPreferencesDialog::IdLanguageList}));
    std::set<std::wstring> sections;
    for (const auto& [section, key] : required.parameterTexts) {
        sections.insert(section);
    }
    // Every model of both registries, the empty slot and the unknown card.
    std::set<std::wstring> models;
    for (const ModelRow& row : AllModelRows()) {
        models.emplace(row.name);
    }
    EXPECT_EQ(sections, models);
    EXPECT_TRUE(sections.contains(L"QJ58W"));
    EXPECT_TRUE(required.lists.contains({L"JK7W", L"rangePC"}));
    EXPECT_EQ(required.lists.at({L"JK7W", L"rangePC"}), 36);
}

TEST_F(LanguageCoverage, EveryShippedLanguageFileHasEveryText) {
    const Requirements& required = Required();
    const std::vector<fs::path> files = k52test::ShippedLanguageFiles();
    ASSERT_GE(files.size(), 2u);
    for (const fs::path& file : files) {
        const std::vector<std::string> missing = MissingIn(file, required);
        EXPECT_TRUE(missing.empty()) << file.filename().string() << " lacks:" << Lines(missing);
    }
}

// The coverage check must notice a removed or broken entry of any kind, and
// name it by its path.
TEST_F(LanguageCoverage, ARemovedOrBrokenEntryIsNamedByItsPath) {
    const Requirements& required = Required();
    const fs::path japanese = fs::path(ToUtf8(GetModuleDirectory())) / "Japanese.lng";
    struct Damage {
        const char* xpath;
        enum { Remove, SetText } how;
        const char* text;
        std::string expected;
    };
    const std::vector<Damage> damages = {
        {"/root/gui[@name='130']/text[@name='0']", Damage::Remove, "", "gui[130]/text[0]"},
        {"/root/gui[@name='102']/text[@name='1010']", Damage::Remove, "", "gui[102]/text[1010]"},
        {"/root/gui[@name='132']/text[@name='1023']", Damage::Remove, "", "gui[132]/text[1023]"},
        {"/root/message/text[@name='rangeerr2']", Damage::Remove, "", "message/text[rangeerr2]"},
        {"/root/message/text[@name='jx5com.comfail']", Damage::SetText, "%s %d %d %d",
         "message/text[jx5com.comfail] does not take its arguments"},
        {"/root/message/text[@name='rangeerr']", Damage::SetText, "%1 %2 %4",
         "message/text[rangeerr] does not take its arguments"},
        {"/root/parameter[@name='QB9W']/text[@name='lname']", Damage::Remove, "",
         "parameter[QB9W]/text[lname]"},
        {"/root/parameter[@name='JK7W']/list[@name='rangePC']/node[@name='36']", Damage::Remove, "",
         "parameter[JK7W]/list[rangePC]/node[36]"},
        {"/root/parameter[@name='JK7W']/list[@name='rangePC']/node[@name='5']/data", Damage::SetText, "4",
         "parameter[JK7W]/list[rangePC]/node[5]/data is 4"},
        {"/root/parameter[@name='K52HZKJ8']/text[@name='datetimeset']", Damage::Remove, "",
         "parameter[K52HZKJ8]/text[datetimeset]"},
    };
    k52test::TempDir dir;
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.xpath);
        pugi::xml_document document;
        ASSERT_TRUE(document.load_file(japanese.c_str()));
        pugi::xml_node node = document.select_node(damage.xpath).node();
        ASSERT_TRUE(node);
        if (damage.how == Damage::Remove) {
            node.parent().remove_child(node);
        } else {
            node.text().set(damage.text);
        }
        const fs::path broken = dir.path() / "Broken.lng";
        ASSERT_TRUE(document.save_file(broken.c_str()));
        EXPECT_EQ(MissingIn(broken, required), std::vector<std::string>{damage.expected});
    }

    // A row caption of a model, found from the card the registry creates.
    const std::wstring caption = CIOCardType().CreateByName(L"KZ9W")->GetParameter(3).textKey;
    pugi::xml_document document;
    ASSERT_TRUE(document.load_file(japanese.c_str()));
    const std::string xpath = "/root/parameter[@name='KZ9W']/text[@name='" + ToUtf8(caption) + "']";
    pugi::xml_node node = document.select_node(xpath.c_str()).node();
    ASSERT_TRUE(node);
    node.parent().remove_child(node);
    const fs::path broken = dir.path() / "Broken.lng";
    ASSERT_TRUE(document.save_file(broken.c_str()));
    EXPECT_EQ(MissingIn(broken, required),
              std::vector<std::string>{"parameter[KZ9W]/text[" + ToUtf8(caption) + "]"});
}
