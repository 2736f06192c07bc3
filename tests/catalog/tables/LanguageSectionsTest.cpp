#include "ModelList.h"
#include "base/CException.h"
#include "base/CResourceDatabase.h"
#include "base/CResourceManager.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <map>
#include <set>
#include <string>

using k52test::AllModels;
using k52test::Model;
using k52test::ModelEntry;
using k52test::Narrow;

namespace {

// The section names the two registries give their cards.
const std::set<std::wstring> kSectionNames = [] {
    std::set<std::wstring> names;
    for (const ModelRow& row : AllModelRows()) {
        names.emplace(row.name);
    }
    return names;
}();

CResourceDatabase& Texts() {
    return CResourceManager::Database();
}

// Per section: every option list its tables name, with the largest maximum.
std::map<std::wstring, std::map<std::wstring, std::int32_t>> ListsBySection() {
    std::map<std::wstring, std::map<std::wstring, std::int32_t>> lists;
    for (const ModelEntry& entry : AllModels()) {
        for (const std::wstring& section : entry.sections) {
            for (const ParameterDefinition& row : entry.table().parameters) {
                if (row.kind == KindList) {
                    std::int32_t& maximum = lists[section][row.fileKey];
                    maximum = std::max(maximum, row.maximum);
                }
            }
        }
    }
    return lists;
}

class LanguageSections : public ::testing::Test {
protected:
    static void SetUpTestSuite() { k52test::LoadEnglish(); }
};

} // namespace

TEST_F(LanguageSections, FileIsWellFormedWithOneSectionPerModelName) {
    pugi::xml_document document;
    std::string path = Narrow(GetModuleDirectory()) + "/English.lng";
    pugi::xml_parse_result parsed = document.load_file(path.c_str());
    ASSERT_TRUE(parsed) << parsed.description() << " at " << parsed.offset;

    std::map<std::wstring, int> seen;
    for (pugi::xml_node section : document.child("root").children("parameter")) {
        std::string name = section.attribute("name").value();
        std::wstring wide(name.begin(), name.end());
        ++seen[wide];
        SCOPED_TRACE(name);
        // A repeated key would be shadowed by its first occurrence.
        std::set<std::string> texts;
        std::set<std::string> lists;
        for (pugi::xml_node text : section.children("text")) {
            EXPECT_TRUE(texts.insert(text.attribute("name").value()).second)
                << text.attribute("name").value();
        }
        for (pugi::xml_node list : section.children("list")) {
            EXPECT_TRUE(lists.insert(list.attribute("name").value()).second)
                << list.attribute("name").value();
            std::set<std::string> nodes;
            for (pugi::xml_node node : list.children("node")) {
                EXPECT_TRUE(nodes.insert(node.attribute("name").value()).second);
            }
        }
        // No list that no row of the section names.
        auto used = ListsBySection()[wide];
        for (const std::string& list : lists) {
            EXPECT_TRUE(used.contains(std::wstring(list.begin(), list.end()))) << list;
        }
    }
    for (const std::wstring& name : kSectionNames) {
        EXPECT_EQ(seen[name], 1) << Narrow(name);
    }
    EXPECT_EQ(seen.size(), kSectionNames.size());
}

TEST_F(LanguageSections, EverySectionNamesItsModel) {
    for (const std::wstring& section : kSectionNames) {
        SCOPED_TRACE(Narrow(section));
        for (const wchar_t* key : {L"lname", L"sname", L"scaledDATAname", L"rawDATAname"}) {
            EXPECT_FALSE(Texts().GetParameterText(section, key).empty()) << Narrow(key);
        }
    }
    EXPECT_EQ(Texts().GetParameterText(L"JK7W", L"lname"), L"JK7W  Universal input, 4 channels");
    EXPECT_EQ(Texts().GetParameterText(L"JK7W", L"sname"), L"JK7W");
    EXPECT_FALSE(Texts().GetParameterText(L"K52HZKJ8", L"datetimeset").empty());
}

TEST_F(LanguageSections, EveryRowHasACaptionInEverySectionThatUsesItsTable) {
    for (const ModelEntry& entry : AllModels()) {
        for (const std::wstring& section : entry.sections) {
            SCOPED_TRACE(std::string(entry.model) + " in " + Narrow(section));
            for (const ParameterDefinition& row : entry.table().parameters) {
                std::wstring caption;
                EXPECT_NO_THROW(caption = Texts().GetParameterText(section, row.textKey))
                    << Narrow(row.textKey);
                EXPECT_FALSE(caption.empty()) << Narrow(row.textKey);
            }
        }
    }
}

TEST_F(LanguageSections, EveryListOffersExactlyTheValuesItsRowsAccept) {
    for (const auto& [section, lists] : ListsBySection()) {
        for (const auto& [list, maximum] : lists) {
            SCOPED_TRACE(Narrow(section) + " " + Narrow(list));
            for (int i = 0; i <= maximum; ++i) {
                EXPECT_EQ(Texts().GetListData(section, list, i), i);
                std::wstring text;
                EXPECT_NO_THROW(text = Texts().GetListText(section, list, i)) << i;
                EXPECT_FALSE(text.empty()) << i;
            }
            // The drop-down offers every node: one beyond the largest
            // maximum would be a choice that the range check refuses.
            EXPECT_THROW(Texts().GetListText(section, list, maximum + 1), CException);
        }
    }
}

TEST_F(LanguageSections, UnitListsMatchTheUnitTexts) {
    for (const wchar_t* section : {L"BQ7W", L"ZQ7W", L"JK9W", L"JK7W"}) {
        SCOPED_TRACE(Narrow(section));
        EXPECT_EQ(Texts().GetListText(section, L"Unit", 0), Texts().GetMessage(L"unitdegc"));
        EXPECT_EQ(Texts().GetListText(section, L"Unit", 1), Texts().GetMessage(L"unitdegf"));
        EXPECT_EQ(Texts().GetListText(section, L"Unit", 2), Texts().GetMessage(L"unitk"));
    }
}

// The universal inputs choose decimals and disabled rows by range number; the
// option texts must describe the same input classes.
TEST_F(LanguageSections, UniversalRangesFollowTheInputClasses) {
    for (const wchar_t* section : {L"JK9W", L"JK7W"}) {
        SCOPED_TRACE(Narrow(section));
        for (int range = 0; range <= 36; ++range) {
            std::wstring text = Texts().GetListText(section, L"rangePC", range);
            SCOPED_TRACE(range);
            if (range < 3) {
                EXPECT_TRUE(text.ends_with(L" V") || text.ends_with(L" mV"));
            } else if (range <= 8) {
                EXPECT_TRUE(text.ends_with(L" mA") || text.ends_with(L" mV"));
            } else if (range == 9) {
                EXPECT_NE(text.find(L'Ω'), std::wstring::npos);
                EXPECT_EQ(text.find(L'-'), std::wstring::npos);
            } else if (range <= 23) {
                EXPECT_TRUE(text.starts_with(L"Thermocouple "));
            } else {
                EXPECT_TRUE(text.starts_with(L"Pt") || text.starts_with(L"JPt") || text.starts_with(L"Ni") ||
                            text.starts_with(L"Cu"));
            }
        }
        // Three decimals fit a range of 10 V but not of 100 mV.
        EXPECT_EQ(Texts().GetListText(section, L"rangePC", 1), L"-100 to 100 mV");
    }
}
