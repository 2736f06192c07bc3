// Configuration files: what a saved rack looks like, that every stored value
// comes back, which files are refused, and that a failed save or open
// changes nothing.
#include "catalog/CCOMCardType.h"
#include "catalog/CIOCardType.h"
#include "catalog/ModelRegistry.h"
#include "rack/CCardSlot.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

namespace {

using k52test::ReadFile;
using k52test::TempDir;

// Racks of a station that addresses its 16-point digital modules.
constexpr StationAttribute kAddressed(1);
using k52test::WriteFile;

bool IsReadBack(const ParameterDefinition& row) {
    const bool stored = row.kind != KindGroup && row.kind != KindNone;
    const bool moduleInformation = (row.flags & FlagReadOnly) != 0 && row.item != 0;
    return stored && !moduleInformation && (row.flags & FlagOnDemand) == 0;
}

bool IsTwoWord(std::int32_t kind) {
    return kind == KindSigned32 || kind == KindUnsigned32 || kind == KindIpAddress || kind == KindWord32;
}

// Gives every stored row of a card a value of its own, unlike any default.
void FillWithValues(CCardInterface& card, int seed) {
    for (int row = 0; row < card.GetParameterCount(); ++row) {
        const ParameterDefinition& definition = card.GetParameter(row);
        const int value = (seed * 131 + row * 17) % 20000 - 10000;
        if (definition.kind == KindText) {
            card.SetTextSlot(definition.textSlot, L"t" + std::to_wstring(seed) + L"-" + std::to_wstring(row));
        } else if (IsTwoWord(definition.kind)) {
            card.SetDword(definition.page, definition.item, static_cast<std::uint32_t>(value) * 65599U);
        } else if (definition.kind != KindGroup && definition.kind != KindNone) {
            card.SetWord(definition.page, definition.item, value);
        }
    }
}

void ExpectSameValues(const CCardInterface& saved, const CCardInterface& loaded) {
    ASSERT_EQ(loaded.GetCardName().GetModelName(), saved.GetCardName().GetModelName());
    ASSERT_EQ(loaded.GetTypeCode(), saved.GetTypeCode());
    for (int row = 0; row < saved.GetParameterCount(); ++row) {
        const ParameterDefinition& definition = saved.GetParameter(row);
        if (!IsReadBack(definition)) {
            continue;
        }
        if (definition.kind == KindText) {
            EXPECT_EQ(loaded.GetTextSlot(definition.textSlot), saved.GetTextSlot(definition.textSlot)) << row;
        } else {
            EXPECT_EQ(loaded.GetStoredValue(row), saved.GetStoredValue(row)) << row;
        }
    }
}

class ConfigurationFileTest : public ::testing::Test {
protected:
    void SetUp() override { k52test::LoadEnglish(); }

    // A rack with a module in a few slots, saved to a file.
    std::wstring SavedRack(CCardSlot& rack) {
        rack.Clear();
        rack.SetCard(0, CCOMCardType().CreateByName(L"K52HQ8"));
        rack.SetCard(1, CIOCardType(kAddressed).CreateByName(L"JK7W"));
        rack.SetCard(3, CIOCardType(kAddressed).CreateByName(L"KZ9W"));
        FillWithValues(*rack.GetCard(1), 1);
        FillWithValues(*rack.GetCard(3), 3);
        std::wstring path = m_dir.file("rack.cfg");
        rack.SaveToFile(path);
        return path;
    }

    // Loads a changed copy of a saved file into a rack that holds cards of
    // its own; returns the failure's text, or empty when it loaded.
    std::wstring LoadEdited(const std::string& content, CCardSlot& rack) {
        const std::wstring path = m_dir.file("edited.cfg");
        WriteFile(m_dir.path() / "edited.cfg", content);
        try {
            rack.LoadFromFile(path);
        } catch (const CException& error) {
            return GetExceptionMessage(error, 100000);
        }
        return {};
    }

    static void ExpectUnchanged(const CCardSlot& rack, const CCardSlot& before) {
        for (int index = 0; index < CCardSlot::kSlotCount; ++index) {
            EXPECT_EQ(rack.GetCard(index), before.GetCard(index)) << index;
        }
    }

    TempDir m_dir;
};

TEST_F(ConfigurationFileTest, EveryModelKeepsEveryStoredValue) {
    // One rack per communication model, whose I/O slots between them hold
    // every I/O model.
    std::vector<std::int32_t> ioCodes;
    for (const ModelRow& row : ModelRows(CardRegistry::Io)) {
        if (IsModule(row)) {
            ioCodes.push_back(row.code);
        }
    }
    const auto ioModels = static_cast<int>(ioCodes.size());
    for (int com = 0; com < MenuModelCount(CardRegistry::Com); ++com) {
        SCOPED_TRACE(com);
        CCardSlot rack(kAddressed);
        rack.Clear();
        rack.SetCard(0, CCOMCardType().CreateByCode(com));
        FillWithValues(*rack.GetCard(0), com);
        for (int index = 1; index < CCardSlot::kSlotCount; ++index) {
            const std::int32_t code = ioCodes[static_cast<std::size_t>((com * 16 + index - 1) % ioModels)];
            rack.SetCard(index, CIOCardType(kAddressed).CreateByCode(code));
            FillWithValues(*rack.GetCard(index), com * 100 + index);
        }
        const std::wstring path = m_dir.file("all.cfg");
        rack.SaveToFile(path);

        CCardSlot loaded(kAddressed);
        loaded.LoadFromFile(path);
        for (int index = 0; index < CCardSlot::kSlotCount; ++index) {
            SCOPED_TRACE(index);
            ASSERT_TRUE(loaded.HasCard(index));
            EXPECT_NE(loaded.GetCard(index), rack.GetCard(index)) << "an opened file makes cards of its own";
            ExpectSameValues(*rack.GetCard(index), *loaded.GetCard(index));
        }
    }
}

TEST_F(ConfigurationFileTest, FileHasTheHeaderAndSlotsInOrderWithoutWhiteSpace) {
    CCardSlot rack(kAddressed);
    const std::wstring path = SavedRack(rack);
    const std::string content = ReadFile(m_dir.path() / "rack.cfg");
    EXPECT_EQ(
        content.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?><root><application>K52CFG</application>"
                      "<filetype>configuration</filetype><version>1.17.75</version>"
                      "<slot no=\"0\"><type>K52HQ8</type><parameter item=\"",
                      0),
        0U)
        << content.substr(0, 300);
    EXPECT_EQ(content.find('\n'), std::string::npos);
    std::size_t previous = 0;
    for (int number = 1; number <= 16; ++number) {
        const std::size_t at = content.find("<slot no=\"" + std::to_string(number) + "\"><type>");
        ASSERT_NE(at, std::string::npos) << number;
        EXPECT_GT(at, previous) << number;
        previous = at;
    }
    EXPECT_NE(content.find("<slot no=\"2\"><type>null</type></slot>"), std::string::npos);
}

TEST_F(ConfigurationFileTest, ItemCodesAreFourLowerCaseHexDigitsAndTwoWordValuesSigned) {
    // A two-word row holding -1, and a row on page 1, item 0x0A, of whichever I/O model has them.
    CCardSlot rack(kAddressed);
    rack.Clear();
    int found = 0;
    int twoWordSlot = -1;
    int twoWordRow = -1;
    for (const ModelRow& model : ModelRows(CardRegistry::Io)) {
        if (!IsModule(model) || found == 16) {
            continue;
        }
        auto card = std::shared_ptr<CCardInterface>(CIOCardType(kAddressed).CreateByCode(model.code));
        bool wanted = false;
        for (int row = 0; row < card->GetParameterCount(); ++row) {
            const ParameterDefinition& definition = card->GetParameter(row);
            if (definition.page == 1 && definition.item == 0x0A && IsReadBack(definition)) {
                wanted = true;
            }
            if (twoWordRow < 0 && IsTwoWord(definition.kind) && IsReadBack(definition)) {
                twoWordSlot = found + 1;
                twoWordRow = row;
                card->SetDword(definition.page, definition.item, 0xFFFFFFFFU);
                wanted = true;
            }
        }
        if (wanted) {
            rack.SetCard(++found, card);
        }
    }
    ASSERT_GT(found, 0);
    ASSERT_GE(twoWordRow, 0) << "no I/O model has a two-word row";
    const std::wstring path = m_dir.file("codes.cfg");
    rack.SaveToFile(path);
    const std::string content = ReadFile(m_dir.path() / "codes.cfg");
    EXPECT_NE(content.find("<parameter item=\"010a\">"), std::string::npos);
    EXPECT_EQ(content.find("<parameter item=\"010A\">"), std::string::npos);

    const ParameterDefinition& definition = rack.GetCard(twoWordSlot)->GetParameter(twoWordRow);
    char code[8];
    std::snprintf(code, sizeof code, "%04x", definition.page * 256 + definition.item);
    EXPECT_NE(content.find("<parameter item=\"" + std::string(code) + "\">-1</parameter>"),
              std::string::npos);

    CCardSlot loaded(kAddressed);
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.GetCard(twoWordSlot)->GetDword(definition.page, definition.item), 0xFFFFFFFFU);
}

TEST_F(ConfigurationFileTest, SlotsAreFoundByNumberNotByPlace) {
    CCardSlot rack(kAddressed);
    SavedRack(rack);
    std::string content = ReadFile(m_dir.path() / "rack.cfg");
    // Move slot 1 behind slot 16.
    const std::size_t begin = content.find("<slot no=\"1\">");
    const std::size_t end = content.find("<slot no=\"2\">");
    const std::string slot1 = content.substr(begin, end - begin);
    content.erase(begin, end - begin);
    content.insert(content.find("</root>"), slot1);

    CCardSlot loaded(kAddressed);
    ASSERT_EQ(LoadEdited(content, loaded), L"");
    EXPECT_EQ(loaded.GetCard(1)->GetCardName().GetModelName(), L"JK7W");
    EXPECT_EQ(loaded.GetCard(2)->GetCardName().GetModelName(), L"null");
    ExpectSameValues(*rack.GetCard(1), *loaded.GetCard(1));
}

TEST_F(ConfigurationFileTest, HeaderDecidesWhetherTheFileIsOneOfOurs) {
    CCardSlot rack(kAddressed);
    SavedRack(rack);
    const std::string content = ReadFile(m_dir.path() / "rack.cfg");
    const std::wstring refused = CResourceManager::GetMessage(Msg::illfileerr);
    auto edited = [&](const std::string& from, const std::string& to) {
        std::string copy = content;
        copy.replace(copy.find(from), from.size(), to);
        return copy;
    };

    CCardSlot target(kAddressed);
    target.Clear();
    const CCardSlot before = target;
    EXPECT_EQ(LoadEdited(edited("<filetype>configuration", "<filetype>language"), target), refused);
    EXPECT_EQ(LoadEdited(edited("<application>K52CFG", "<application>k52cfg"), target), refused);
    EXPECT_EQ(LoadEdited(edited("<version>1.17.75</version>", ""), target), refused);
    EXPECT_EQ(LoadEdited(edited("<filetype>configuration</filetype>", ""), target), refused);
    ExpectUnchanged(target, before);

    // The format version is read but not compared.
    EXPECT_EQ(LoadEdited(edited("<version>1.17.75", "<version>1.09.2"), target), L"");
    EXPECT_EQ(target.GetCard(3)->GetCardName().GetModelName(), L"KZ9W");
}

TEST_F(ConfigurationFileTest, IncompleteSlotsRefuseTheWholeFileAndKeepTheRack) {
    CCardSlot rack(kAddressed);
    SavedRack(rack);
    const std::string content = ReadFile(m_dir.path() / "rack.cfg");
    const std::wstring damaged = CResourceManager::GetMessage(Msg::desfileerr);

    // The last parameter element of slot 3 that its card reads: every slot
    // before it has been read when the loss is found.
    const CCardInterface& kz9w = *rack.GetCard(3);
    int lastRead = -1;
    for (int row = 0; row < kz9w.GetParameterCount(); ++row) {
        if (IsReadBack(kz9w.GetParameter(row))) {
            lastRead = row;
        }
    }
    ASSERT_GE(lastRead, 0);
    char code[8];
    std::snprintf(code, sizeof code, "%04x",
                  kz9w.GetParameter(lastRead).page * 256 + kz9w.GetParameter(lastRead).item);
    std::string missingParameter = content;
    const std::size_t element = missingParameter.find("<parameter item=\"" + std::string(code) + "\">",
                                                      content.find("<slot no=\"3\">"));
    ASSERT_LT(element, content.find("<slot no=\"4\">"));
    missingParameter.erase(element, missingParameter.find("</parameter>", element) + 12 - element);

    std::string missingType = content;
    missingType.erase(missingType.find("<type>null</type>"), 17);

    std::string missingSlot = content;
    const std::size_t slot16 = missingSlot.find("<slot no=\"16\">");
    missingSlot.erase(slot16, missingSlot.find("</root>") - slot16);

    for (const std::string& file : {missingParameter, missingType, missingSlot}) {
        CCardSlot target(kAddressed);
        target.Clear();
        const CCardSlot before = target;
        EXPECT_EQ(LoadEdited(file, target), damaged);
        ExpectUnchanged(target, before);
    }

    // Elements that no card reads are no loss.
    std::string extra = content;
    extra.insert(extra.find("</slot>"), "<parameter item=\"0963\">5</parameter><note>x</note>");
    CCardSlot target(kAddressed);
    EXPECT_EQ(LoadEdited(extra, target), L"");
}

// A 16-point digital module saved before the station's attribute word was
// known is a plain digital module without values; the file opens again once
// the word is known, the module with its model's defaults. Any other slot
// without its values is still a damaged file.
TEST_F(ConfigurationFileTest, ADigitalModuleSavedWithoutItsValuesOpensWithItsDefaults) {
    CCardSlot saved;
    saved.Clear();
    saved.SetCard(2, CIOCardType(StationAttribute()).CreateByName(L"BJ58W"));
    saved.SetCard(3, CIOCardType(StationAttribute()).CreateByName(L"QJ58W"));
    saved.SaveToFile(m_dir.file("early.cfg"));
    const std::string content = ReadFile(m_dir.path() / "early.cfg");
    ASSERT_NE(content.find("<slot no=\"2\"><type>BJ58W</type></slot>"), std::string::npos) << content;

    for (const bool comparing : {false, true}) {
        CCardSlot rack(kAddressed);
        if (comparing) {
            rack.LoadForComparison(m_dir.file("early.cfg"));
        } else {
            rack.LoadFromFile(m_dir.file("early.cfg"));
        }
        const CCardSlot fresh = [] {
            CCardSlot defaults(kAddressed);
            defaults.SetCard(2, CIOCardType(kAddressed).CreateByName(L"BJ58W"));
            return defaults;
        }();
        ASSERT_EQ(rack.GetCard(2)->GetParameterCount(), fresh.GetCard(2)->GetParameterCount());
        EXPECT_GT(rack.GetCard(2)->GetParameterCount(), 1);
        EXPECT_EQ(rack.GetCard(3)->GetCardName().GetModelName(), L"QJ58W");
    }

    std::string analog = content;
    analog.replace(analog.find("<type>null</type>"), 17, "<type>KZ9W</type>");
    CCardSlot target(kAddressed);
    EXPECT_EQ(LoadEdited(analog, target), CResourceManager::GetMessage(Msg::desfileerr));
}

TEST_F(ConfigurationFileTest, FilesThatAreNotXmlKeepTheRack) {
    CCardSlot target(kAddressed);
    target.Clear();
    const CCardSlot before = target;
    EXPECT_NE(LoadEdited("<root><application>K52CFG</application>", target), L"");
    EXPECT_NE(k52test::RaisedText([&] { target.LoadFromFile(m_dir.file("missing.cfg")); }), L"");
    ExpectUnchanged(target, before);
}

TEST_F(ConfigurationFileTest, FailedSaveLeavesThePreviousFileWhole) {
    CCardSlot rack(kAddressed);
    SavedRack(rack);
    const std::string previous = ReadFile(m_dir.path() / "rack.cfg");
    ASSERT_GT(previous.size(), 2000U);

    // The disk fills up while the new file is written: the file size limit
    // stops the write part way, as a full disk would.
    rack.GetCard(1)->SetWord(1, 10, 4321);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &limit);
    const std::wstring failure = k52test::RaisedText([&] { rack.SaveToFile(m_dir.file("rack.cfg")); });
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_DFL);

    EXPECT_NE(failure, L"");
    EXPECT_EQ(ReadFile(m_dir.path() / "rack.cfg"), previous);
    // Nothing is left behind beside it.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_dir.path())) {
        ++files;
    }
    EXPECT_EQ(files, 1);

    // A folder that does not exist: nothing is written anywhere.
    EXPECT_NE(k52test::RaisedText([&] { rack.SaveToFile(m_dir.file("no/such/folder.cfg")); }), L"");
}

} // namespace

// A hand-edited file opens as before, the first copy of what it holds twice
// winning, but every oddity is named with its slot and item.
TEST_F(ConfigurationFileTest, OddHandEditedFilesOpenWithAWarningForEachOddity) {
    CCardSlot rack(kAddressed);
    SavedRack(rack);
    rack.SetCard(0, CCOMCardType().CreateByName(L"K52HZKJ8"));
    rack.SaveToFile(m_dir.file("rack.cfg"));
    CCardInterface& com = *rack.GetCard(0);
    int login = -1;
    for (int row = 0; row < com.GetParameterCount(); ++row) {
        login = com.GetParameter(row).kind == KindText && com.GetParameter(row).item == 0x3d ? row : login;
    }
    ASSERT_GE(login, 0);
    CCardSlot clean(kAddressed);
    clean.LoadFromFile(m_dir.file("rack.cfg"));
    EXPECT_TRUE(clean.GetLoadWarnings().empty());
    EXPECT_EQ(clean.FormatLoadWarnings(L"rack.cfg"), L"");

    // A login name no module takes, as only a file brings one.
    com.SetTextSlot(com.GetParameter(login).textSlot, L"\u65E5\u672C");
    rack.SaveToFile(m_dir.file("rack.cfg"));
    std::string content = ReadFile(m_dir.path() / "rack.cfg");
    const auto replace = [&](const std::string& from, const std::string& to) {
        const std::size_t at = content.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        content.replace(at, from.size(), to);
    };
    const std::size_t first = content.find("<parameter", content.find("<slot no=\"1\">"));
    const std::string item = content.substr(first, content.find("</parameter>", first) + 12 - first);
    replace(item, item + item.substr(0, item.find('>') + 1) + "12345</parameter>");
    replace("<slot no=\"5\"><type>null</type>", "<slot no=\"5\"><type>FOO9W</type>");
    replace("</root>", "<slot no=\"3\"><type>KZ9W</type></slot></root>");
    CCardSlot loaded(kAddressed);
    ASSERT_EQ(LoadEdited(content, loaded), L"");

    using Kind = CCardSlot::LoadWarning::Kind;
    const std::vector<std::pair<Kind, int>> expected = {
        {Kind::RefusedText, 0}, {Kind::DuplicateItem, 1}, {Kind::DuplicateSlot, 3}, {Kind::UnknownModel, 5}};
    ASSERT_EQ(loaded.GetLoadWarnings().size(), expected.size()) << loaded.FormatLoadWarnings(L"edited.cfg");
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const CCardSlot::LoadWarning& warning = loaded.GetLoadWarnings()[i];
        EXPECT_EQ(warning.kind, expected[i].first) << i;
        EXPECT_EQ(warning.slotIndex, expected[i].second) << i;
        EXPECT_EQ(warning.text.rfind(loaded.GetSlotCaption(expected[i].second), 0), 0u) << warning.text;
    }
    EXPECT_NE(loaded.GetLoadWarnings()[0].text.find(L"Login names"), std::wstring::npos);
    EXPECT_NE(loaded.GetLoadWarnings()[3].text.find(L"FOO9W"), std::wstring::npos);
    ASSERT_NE(loaded.FindAmbiguity(), nullptr);
    EXPECT_EQ(loaded.FindAmbiguity()->slotIndex, 1);
    // What opened: the first copies, the file's text marked, the unknown module.
    ExpectSameValues(*rack.GetCard(1), *loaded.GetCard(1));
    ExpectSameValues(*rack.GetCard(3), *loaded.GetCard(3));
    EXPECT_EQ(loaded.GetCard(0)->GetDisplayText(login), L"?\u65E5\u672C");
    EXPECT_EQ(loaded.GetCard(5)->GetTypeCode(), -1);
    EXPECT_NE(loaded.FormatLoadWarnings(L"edited.cfg", 2).find(L"edited.cfg"), std::wstring::npos);
    loaded.Clear();
    EXPECT_TRUE(loaded.GetLoadWarnings().empty());
}
