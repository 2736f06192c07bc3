// The language files delivered beside the programs, checked against
// English.lng: a translation that lacks an entry makes a look-up raise, one
// whose option data differ stores other values in the station, and one whose
// inserts differ shows the wrong argument or none.
#include "app/CAppSettings.h"
#include "base/CResourceDatabase.h"
#include "base/FileFilter.h"
#include "base/TextConvert.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path ProgramDirectory() {
    return fs::path(ToUtf8(GetModuleDirectory()));
}

// Every text of a language file under a path naming its keys, e.g.
// "parameter[JK7W]/list[rangePC]/node[3]/data". A key given twice keeps both
// texts, so that a duplicate shows up as a path with two values.
struct LanguageEntries {
    std::map<std::string, std::vector<std::string>> texts;
    // The option names of each list, under the list's path.
    std::map<std::string, std::set<std::string>> listNodes;
};

std::string Named(const char* element, const pugi::xml_node& node) {
    return std::string(element) + "[" + node.attribute("name").value() + "]";
}

LanguageEntries ReadEntries(const fs::path& file) {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_file(file.c_str());
    EXPECT_TRUE(parsed) << file << ": " << parsed.description();
    LanguageEntries entries;
    const pugi::xml_node root = document.child("root");
    for (const pugi::xml_node& section : root.children()) {
        const std::string kind = section.name();
        if (kind == "message" || kind == "gui") {
            const std::string prefix = kind == "gui" ? Named("gui", section) : kind;
            for (const pugi::xml_node& text : section.children("text")) {
                entries.texts[prefix + "/" + Named("text", text)].push_back(text.text().get());
            }
        } else if (kind == "parameter") {
            const std::string prefix = Named("parameter", section);
            for (const pugi::xml_node& text : section.children("text")) {
                entries.texts[prefix + "/" + Named("text", text)].push_back(text.text().get());
            }
            for (const pugi::xml_node& list : section.children("list")) {
                const std::string listPath = prefix + "/" + Named("list", list);
                std::set<std::string>& names = entries.listNodes[listPath];
                for (const pugi::xml_node& node : list.children("node")) {
                    names.insert(node.attribute("name").value());
                    const std::string nodePath = listPath + "/" + Named("node", node);
                    entries.texts[nodePath + "/text"].push_back(node.child("text").text().get());
                    entries.texts[nodePath + "/data"].push_back(node.child("data").text().get());
                }
            }
        }
    }
    return entries;
}

const LanguageEntries& English() {
    static const LanguageEntries english = ReadEntries(ProgramDirectory() / "English.lng");
    return english;
}

// The other shipped files, each with its entries.
std::vector<std::pair<fs::path, LanguageEntries>> Translations() {
    std::vector<std::pair<fs::path, LanguageEntries>> translations;
    for (const fs::path& file : k52test::ShippedLanguageFiles()) {
        if (file.filename() != "English.lng") {
            translations.emplace_back(file, ReadEntries(file));
        }
    }
    return translations;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool IsListData(const std::string& path) {
    return path.size() > 5 && path.compare(path.size() - 5, 5, "/data") == 0;
}

// The inserts that take an argument, in the grammar of the message
// formatter. "%%" is a percent sign and "%n" a line break in both styles;
// a lone '%' that starts no insert is plain text ("unitp").
std::vector<std::string> PrintfInserts(const std::string& text) {
    static const std::regex insert(
        "%[-+ #0]*[0-9]*(\\.[0-9]*)?(hh|h|ll|I64|I32|l|w|L|j|z|t|q)?[diouxXcCsSfFeEgGaAn]");
    std::vector<std::string> inserts;
    for (std::size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at)) {
        if (text.compare(at, 2, "%%") == 0) {
            at += 2;
            continue;
        }
        std::smatch match;
        if (std::regex_search(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(), match, insert,
                              std::regex_constants::match_continuous)) {
            if (match.str().back() != 'n') {
                inserts.push_back(match.str());
            }
            at += static_cast<std::size_t>(match.length());
        } else {
            ++at;
        }
    }
    return inserts;
}

std::set<std::string> NumberedInserts(const std::string& text) {
    static const std::regex insert("%[1-9][0-9]?(![^!]*!)?");
    std::set<std::string> inserts;
    for (std::size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at)) {
        if (text.compare(at, 2, "%%") == 0) {
            at += 2;
            continue;
        }
        std::smatch match;
        if (std::regex_search(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(), match, insert,
                              std::regex_constants::match_continuous)) {
            inserts.insert(match.str());
            at += static_cast<std::size_t>(match.length());
        } else {
            ++at;
        }
    }
    return inserts;
}

// Points LC_ALL, the first locale variable the settings read, at one locale.
class MessagesLocale {
public:
    explicit MessagesLocale(const char* locale) {
        if (const char* value = std::getenv("LC_ALL")) {
            m_saved = value;
        }
        k52test::SetEnvironment("LC_ALL", locale);
    }
    ~MessagesLocale() { k52test::SetEnvironment("LC_ALL", m_saved ? m_saved->c_str() : nullptr); }
    MessagesLocale(const MessagesLocale&) = delete;
    MessagesLocale& operator=(const MessagesLocale&) = delete;

private:
    std::optional<std::string> m_saved;
};

} // namespace

TEST(LanguageFiles, TheFileChosenForEachLocaleIsShippedAndAccepted) {
    for (const char* locale : {"ja_JP.UTF-8", "en_US.UTF-8", "C"}) {
        SCOPED_TRACE(locale);
        std::wstring name;
        {
            MessagesLocale scoped(locale);
            name = CAppSettings::DefaultDisplayLanguage();
        }
        CResourceDatabase database;
        EXPECT_NO_THROW(database.Load(name));
    }
}

TEST(LanguageFiles, EveryShippedFileLoadsAndNamesItsOwnLanguage) {
    const std::vector<fs::path> files = k52test::ShippedLanguageFiles();
    ASSERT_GE(files.size(), 2u);
    std::map<std::wstring, fs::path> byName;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        CResourceDatabase database;
        ASSERT_NO_THROW(database.Load(FromUtf8(file.filename().string())));
        const std::wstring name = database.GetLanguageName();
        const auto [previous, added] = byName.emplace(name, file);
        EXPECT_TRUE(added) << "the language name is also that of " << previous->second;
    }
}

TEST(LanguageFiles, EveryEnglishEntryIsTranslatedOnceAndEmptyWhereEnglishIsEmpty) {
    const LanguageEntries& english = English();
    // A walk that finds nothing would let every translation pass.
    ASSERT_TRUE(english.texts.count("message/text[rangeerr]"));
    ASSERT_TRUE(english.texts.count("gui[102]/text[1001]"));
    ASSERT_TRUE(english.texts.count("parameter[JK7W]/list[rangePC]/node[36]/data"));

    for (const auto& [file, entries] : Translations()) {
        SCOPED_TRACE(file.filename().string());
        for (const auto& [path, englishTexts] : english.texts) {
            const auto found = entries.texts.find(path);
            if (found == entries.texts.end()) {
                ADD_FAILURE() << path << " is missing";
                continue;
            }
            ASSERT_EQ(englishTexts.size(), 1u) << path << " is given twice in English.lng";
            EXPECT_EQ(found->second.size(), 1u) << path << " is given twice";
            const std::string& text = found->second.front();
            if (IsListData(path)) {
                EXPECT_EQ(text, englishTexts.front()) << path;
            } else {
                // An empty gui text keeps the control's own text; an empty
                // caption or message would show nothing at all.
                EXPECT_EQ(text.empty(), englishTexts.front().empty()) << path << ": \"" << text << "\"";
            }
        }
    }
}

TEST(LanguageFiles, OptionListsOfferTheSameOptionsAsEnglish) {
    for (const auto& [file, entries] : Translations()) {
        SCOPED_TRACE(file.filename().string());
        for (const auto& [list, englishNodes] : English().listNodes) {
            const auto found = entries.listNodes.find(list);
            ASSERT_NE(found, entries.listNodes.end()) << list;
            // An option beyond English's would be offered and stored as well.
            EXPECT_EQ(found->second, englishNodes) << list;
        }
    }
}

TEST(LanguageFiles, MessagesTakeTheArgumentsOfTheirEnglishText) {
    std::size_t englishInserts = 0;
    for (const auto& [file, entries] : Translations()) {
        SCOPED_TRACE(file.filename().string());
        for (const auto& [path, englishTexts] : English().texts) {
            const auto found = entries.texts.find(path);
            if (!StartsWith(path, "message/") || found == entries.texts.end()) {
                continue;
            }
            const std::string& english = englishTexts.front();
            const std::string& text = found->second.front();
            englishInserts += PrintfInserts(english).size() + NumberedInserts(english).size();
            EXPECT_EQ(PrintfInserts(text), PrintfInserts(english)) << path << ": \"" << text << "\"";
            EXPECT_EQ(NumberedInserts(text), NumberedInserts(english)) << path << ": \"" << text << "\"";
        }
    }
    EXPECT_GT(englishInserts, 0u);
}

TEST(LanguageFiles, InsertScannersFollowTheFormatterGrammar) {
    using Inserts = std::vector<std::string>;
    EXPECT_EQ(PrintfInserts("(%s, module %d, item %02d, %5.1f)%n%ls"), (Inserts{"%s", "%d", "%02d", "%5.1f", "%ls"}));
    EXPECT_EQ(PrintfInserts("100%% of %I64u"), (Inserts{"%I64u"}));
    EXPECT_EQ(PrintfInserts("%"), Inserts{});
    EXPECT_EQ(PrintfInserts("%1: from %2 to %3!d!"), Inserts{});
    EXPECT_EQ(NumberedInserts("%3 then %1!s!, %%2 and %n"), (std::set<std::string>{"%1!s!", "%3"}));
    EXPECT_EQ(NumberedInserts("IO%s %02d"), std::set<std::string>{});
}

TEST(LanguageFiles, FileDialogFiltersMatchTheSamePatterns) {
    const auto Patterns = [](const std::string& text) {
        std::vector<std::wstring> patterns;
        for (const FileFilterEntry& entry : ParseFileFilter(FromUtf8(text))) {
            patterns.push_back(entry.patterns);
        }
        return patterns;
    };
    const std::vector<std::wstring> english = Patterns(English().texts.at("message/text[fopenfilter]").front());
    ASSERT_FALSE(english.empty());
    for (const auto& [file, entries] : Translations()) {
        SCOPED_TRACE(file.filename().string());
        const auto found = entries.texts.find("message/text[fopenfilter]");
        ASSERT_NE(found, entries.texts.end());
        EXPECT_EQ(Patterns(found->second.front()), english);
    }
}
