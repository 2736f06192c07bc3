// Values from hand-edited configuration files: opened as they are, shown
// marked, saved back unchanged, and refused by the checks a download makes
// with the message the parameter list would give.
#include "CardTestHelpers.h"
#include "base/CResourceManager.h"
#include "base/CXmlReaderWriter.h"
#include "base/TextConvert.h"
#include "catalog/CCOMCardType.h"
#include "catalog/CIOCardType.h"
#include "link/WireFormat.h"
#include "support/MessageUses.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>

using k52test::RowOf;

namespace {

const wchar_t* const kSlotPath = L"/root/slot[@no='1']";

std::unique_ptr<CCardInterface> Create(const std::wstring& model) {
    std::unique_ptr<CCardInterface> card = CIOCardType().CreateByName(model);
    return card->GetTypeCode() > 0 ? std::move(card) : CCOMCardType().CreateByName(model);
}

void Write(const CCardInterface& card, const std::wstring& path) {
    CXmlReaderWriter writer;
    writer.Create(L"root");
    writer.AppendTextElementWithAttribute(L"/root", L"slot", L"", L"no", L"1");
    card.WriteToXml(writer, kSlotPath);
    writer.Save(path);
}

// A default card of the model saved to a file whose parameter at the row
// then says what a user typed into the file; read back into a fresh card.
std::unique_ptr<CCardInterface> OpenEdited(const std::wstring& model, const wchar_t* key, const std::string& text,
                                           const k52test::TempDir& dir) {
    const std::unique_ptr<CCardInterface> original = Create(model);
    const ParameterDefinition& definition = original->GetParameter(RowOf(*original, key));
    const std::wstring path = dir.file("edited.cfg");
    Write(*original, path);
    char item[8];
    std::snprintf(item, sizeof item, "%04x", definition.page * 256 + definition.item);
    const std::regex element("<parameter item=\"" + std::string(item) + "\"( ?/>|>[^<]*</parameter>)");
    k52test::WriteFile(path, std::regex_replace(k52test::ReadFile(path), element,
                                                "<parameter item=\"" + std::string(item) + "\">" + text +
                                                    "</parameter>"));
    std::unique_ptr<CCardInterface> card = Create(model);
    CXmlReaderWriter reader;
    reader.Load(path);
    card->ReadFromXml(reader, kSlotPath);
    return card;
}

// The message the card gives for this key, as its checks format it.
std::wstring ExpectedMessage(const CCardInterface& card, int row, const wchar_t* key) {
    const ParameterDefinition& definition = card.GetParameter(row);
    if (std::wstring(key) == L"rangeerr") {
        return CResourceManager::FormatNumberedMessage(Msg::rangeerr, card.GetCaption(row),
                                                       card.GetValueText(row, definition.minimum),
                                                       card.GetValueText(row, definition.maximum));
    }
    // A text that is no number names the row and its range; an address the row.
    if (std::wstring(key) == L"inperr" || std::wstring(key) == L"inpierr") {
        return CResourceManager::FormatNumberedMessage(std::wstring(key) == L"inperr" ? Msg::inperr_named
                                                                                       : Msg::inpierr_named,
                                                       card.GetCaption(row),
                                                       card.GetValueText(row, definition.minimum),
                                                       card.GetValueText(row, definition.maximum));
    }
    if (std::wstring(key) == L"iperr") {
        return CResourceManager::FormatNumberedMessage(Msg::fielderr, card.GetCaption(row),
                                                       CResourceManager::GetMessage(Msg::iperr));
    }
    if (std::wstring(key) == L"textlenerr") {
        return CResourceManager::FormatMessage(Msg::textlenerr, static_cast<int>(kMaxItemWriteText));
    }
    return k52test::PlainMessageNamed(key).value_or(L"<no such message key>");
}

class StoredValueCheck : public ::testing::Test {
protected:
    void SetUp() override { k52test::LoadEnglish(); }
    k52test::TempDir m_dir;
};

TEST_F(StoredValueCheck, FileTextsGoThroughTheChecksOfTheParameterList) {
    struct Case {
        const wchar_t* model;
        const wchar_t* key;
        std::string text;
        const wchar_t* refusal; // message key, or null for a value that is taken
        bool unread;            // kept apart from the value (not a number the row holds)
    };
    const std::string url249(kMaxItemWriteText, 'u');
    const std::vector<Case> cases = {
        {L"JK7W", L"gain01", "abc", L"inperr", true},
        {L"JK7W", L"gain01", "", L"inperr", true},
        {L"JK7W", L"gain01", "2147483648", L"inperr", true},
        {L"JK7W", L"gain01", "70000", L"inperr", true},
        {L"JK7W", L"gain01", "12abc", L"inperr", true},
        {L"JK7W", L"gain01", " 12000\n", nullptr, false},
        {L"JK7W", L"gain01", "-32001", L"rangeerr", false},
        {L"JK7W", L"rangepc01", "99", L"rangeerr", false},
        {L"JK7W", L"rangepc01", "-5", L"rangeerr", false},
        {L"JK7W", L"rangepc01", "2", nullptr, false},
        {L"QB9W", L"upCount01", "4294967295", nullptr, false},
        {L"QB9W", L"upCount01", "-1", nullptr, false},
        {L"QB9W", L"upCount01", "4294967296", L"inpierr", true},
        {L"QB9W", L"upCount01", "0", L"rangeerr", false},
        {L"K52HZKJ8", L"ipadrs", "192.168.0.1", L"iperr", true},
        {L"K52HZKJ8", L"loginid01", "plant user", L"passwordErr", false},
        {L"K52HZKJ8", L"loginid01", "operator7", nullptr, false},
        {L"K52HZKJ8", L"url", url249, nullptr, false},
        {L"K52HZKJ8", L"url", url249 + "u", L"textlenerr", false},
        {L"K52HZKJ8", L"url", "ntp.例え.jp", L"textcharerr", false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(ToUtf8(test.model) + " " + ToUtf8(test.key) + " \"" + test.text + "\"");
        const std::unique_ptr<CCardInterface> card = OpenEdited(test.model, test.key, test.text, m_dir);
        const int row = RowOf(*card, test.key);
        ASSERT_TRUE(card->IsWrittenByDownload(row));
        if (test.refusal == nullptr) {
            EXPECT_NO_THROW(card->CheckStoredValue(row));
        } else {
            EXPECT_EQ(k52test::RaisedText([&] { card->CheckStoredValue(row); }),
                      ExpectedMessage(*card, row, test.refusal));
        }
        const std::wstring* unread = card->GetUnreadFileText(row);
        ASSERT_EQ(unread != nullptr, test.unread);
        if (test.unread) {
            // Shown marked as it stands, and saved back the same.
            EXPECT_EQ(*unread, FromUtf8(test.text));
            EXPECT_EQ(card->GetDisplayText(row), L"?" + FromUtf8(test.text));
            Write(*card, m_dir.file("again.cfg"));
            const std::unique_ptr<CCardInterface> again = Create(test.model);
            CXmlReaderWriter reader;
            reader.Load(m_dir.file("again.cfg"));
            again->ReadFromXml(reader, kSlotPath);
            ASSERT_NE(again->GetUnreadFileText(row), nullptr);
            EXPECT_EQ(*again->GetUnreadFileText(row), *unread);
        }
    }
}

// Whatever shows a password shows the same mask, set or refused; the card
// keeps it and a file saves it as typed.
TEST_F(StoredValueCheck, APasswordIsShownMaskedAndKeptAsTyped) {
    const struct {
        std::string text;
        const wchar_t* shown;
        bool refused;
    } cases[] = {{"Secret42", kPasswordMask, false}, {"", L"", false}, {"bad pw_1", kPasswordMask, true}};
    for (const auto& test : cases) {
        SCOPED_TRACE(test.text);
        const std::unique_ptr<CCardInterface> card = OpenEdited(L"K52HZKJ8", L"password02", test.text, m_dir);
        const int row = RowOf(*card, L"password02");
        ASSERT_TRUE(IsPasswordRow(card->GetParameter(row)));
        EXPECT_EQ(card->GetDisplayText(row), test.shown);
        EXPECT_EQ(card->GetStoredValueText(row), FromUtf8(test.text));
        if (test.refused) {
            EXPECT_EQ(k52test::RaisedText([&] { card->CheckStoredValue(row); }),
                      CResourceManager::GetMessage(Msg::passwordErr));
        }
        Write(*card, m_dir.file("again.cfg"));
        if (!test.text.empty()) {
            EXPECT_NE(k52test::ReadFile(m_dir.path() / "again.cfg").find(">" + test.text + "<"),
                      std::string::npos);
        }
    }
    // A login name is no password: it is shown as it is.
    const std::unique_ptr<CCardInterface> card = OpenEdited(L"K52HZKJ8", L"loginid02", "operator7", m_dir);
    EXPECT_EQ(card->GetDisplayText(RowOf(*card, L"loginid02")), L"operator7");
}

TEST_F(StoredValueCheck, AValueSetInTheListReplacesTheFilesText) {
    const std::unique_ptr<CCardInterface> card = OpenEdited(L"JK7W", L"gain01", "abc", m_dir);
    const int row = RowOf(*card, L"gain01");
    card->SetFromText(row, L"1.2345");
    EXPECT_EQ(card->GetUnreadFileText(row), nullptr);
    EXPECT_EQ(card->GetDisplayText(row), L"1.2345");
    EXPECT_NO_THROW(card->CheckStoredValue(row));

    // A copy made for another thread carries the mark along.
    const std::unique_ptr<CCardInterface> marked = OpenEdited(L"JK7W", L"gain01", "", m_dir);
    const std::unique_ptr<CCardInterface> copy = Create(L"JK7W");
    copy->CopyStateFrom(*marked);
    EXPECT_NE(copy->GetUnreadFileText(row), nullptr);
}

} // namespace
