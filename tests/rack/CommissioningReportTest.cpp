// The commissioning report: one page that needs nothing beside it, every
// text escaped, the differences from the rack as found first and marked in
// the listing, and all of it in the chosen language.
#include "base/CResourceDatabase.h"
#include "base/CResourceManager.h"
#include "base/TextConvert.h"
#include "catalog/CCOMCardType.h"
#include "catalog/CIOCardType.h"
#include "rack/CCardSlot.h"
#include "rack/CCommissioningReport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CCardSlot Rack() {
    CCardSlot rack;
    rack.Clear();
    rack.SetCard(0, CCOMCardType().CreateByName(L"K52HQ8"));
    rack.SetCard(1, CIOCardType().CreateByName(L"JK7W"));
    rack.SetCard(3, CIOCardType().CreateByName(L"KZ9W"));
    return rack;
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

std::string Text(PlainMessageKey key) {
    return ToUtf8(CCommissioningReport::Escape(CResourceManager::GetMessage(key)));
}

class CommissioningReportTest : public ::testing::Test {
protected:
    void SetUp() override { k52test::LoadEnglish(); }
    void TearDown() override { k52test::LoadEnglish(); }
};

TEST_F(CommissioningReportTest, APageThatStandsAloneWithEveryTextEscaped) {
    CCardSlot rack = Rack();
    // Texts from the user and the station that look like markup stay text:
    // here the MAC address the module reports.
    rack.GetCard(0)->SetTextSlot(3, L"<script>alert(1)</script>");
    CCommissioningReport::Facts facts;
    facts.title = L"Pump station <3> & \"B\" 'north'";
    facts.configuration = L"a<b>.cfg";
    const std::string page = CCommissioningReport(rack).MakeHtml(facts);

    EXPECT_EQ(page.rfind("<!DOCTYPE html>\n<html lang=\"en\">", 0), 0u);
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("@page { size: A4;"), std::string::npos);
    // Nothing to run and nothing to fetch.
    for (const char* outside : {"<script", "src=", "href=", "url(", "@import", "<link", "<img"}) {
        EXPECT_EQ(page.find(outside), std::string::npos) << outside;
    }
    EXPECT_EQ(Count(page, "Pump station &lt;3&gt; &amp; &quot;B&quot; &#39;north&#39;"), 2u) << "title and heading";
    EXPECT_NE(page.find("a&lt;b&gt;.cfg"), std::string::npos);
    EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(page.find("K52CFG Version "), std::string::npos);

    // The line-up has all seventeen slots; the listing every module and no empty slot.
    EXPECT_NE(page.find("<td>IO16</td>"), std::string::npos);
    EXPECT_EQ(Count(page, "<h3>"), 3u);
    const CCardInterface& card = *rack.GetCard(1);
    for (int row = 0; row < card.GetParameterCount(); ++row) {
        if (card.GetParameter(row).kind != KindGroup && (card.GetParameter(row).flags & FlagOnDemand) == 0) {
            EXPECT_NE(page.find("<td>" + ToUtf8(CCommissioningReport::Escape(card.GetCaption(row))) + "</td><td>" +
                                ToUtf8(CCommissioningReport::Escape(card.GetDisplayText(row))) + "</td>"),
                      std::string::npos)
                << row;
        }
    }
    // Without a rack as found there is nothing to compare with and nothing marked.
    EXPECT_EQ(page.find(Text(Msg::report_differences)), std::string::npos);
    EXPECT_EQ(page.find("class=\"changed\""), std::string::npos);
}

TEST_F(CommissioningReportTest, TheStateAsFoundOpensTheReportAndItsChangesAreMarked) {
    const CCardSlot asFound = Rack();
    CCardSlot rack = Rack();
    CCardInterface& jk7w = *rack.GetCard(1);
    int gain = 0;
    while (std::wstring(jk7w.GetParameter(gain).textKey) != L"gain01") {
        ++gain;
    }
    jk7w.SetFromText(gain, L"1.25");
    rack.SetCard(3, CIOCardType().CreateByName(L"QB9W"));

    CCommissioningReport report(rack);
    report.SetAsFound(asFound);
    CCommissioningReport::Facts facts;
    facts.asFoundSource = L"before.cfg";
    const std::string page = report.MakeHtml(facts);

    const std::size_t differences = page.find(Text(Msg::report_differences));
    const std::size_t lineUp = page.find(Text(Msg::report_lineup));
    ASSERT_NE(differences, std::string::npos);
    EXPECT_LT(differences, lineUp) << "the differences come first";
    EXPECT_NE(page.find("<td>before.cfg</td>"), std::string::npos);
    EXPECT_NE(page.find("<tr class=\"changed\"><td>IO03</td><td>" + Text(Msg::cmp_module) +
                        "</td><td>KZ9W</td><td>QB9W</td></tr>"),
              std::string::npos);
    const std::string caption = ToUtf8(CCommissioningReport::Escape(jk7w.GetCaption(gain)));
    EXPECT_NE(page.find("<tr><td>IO01</td><td>" + caption + "</td><td>1.0000</td><td>1.2500</td></tr>"),
              std::string::npos);
    // In the listing: the changed row marked, the changed module noted.
    EXPECT_NE(page.find("<tr class=\"changed\"><td class=\"mark\">\u25cf</td><td>" + caption + "</td><td>1.2500</td>"),
              std::string::npos);
    EXPECT_NE(page.find(ToUtf8(CCommissioningReport::Escape(
                  CResourceManager::FormatMessage(Msg::report_moduleasfound, std::wstring(L"KZ9W"))))),
              std::string::npos);

    // The same report in Japanese: every fixed text from the language file.
    const std::vector<PlainMessageKey> keys = {
        Msg::report_title,       Msg::report_date,   Msg::report_program,    Msg::report_asfoundfile,
        Msg::report_differences, Msg::report_lineup, Msg::report_parameters, Msg::report_asfound,
        Msg::report_asleft,      Msg::report_marked, Msg::cmp_colslot,       Msg::cmp_colcaption,
        Msg::report_value,       Msg::report_model};
    std::vector<std::string> english;
    english.reserve(keys.size());
    for (const PlainMessageKey key : keys) {
        english.push_back(Text(key));
    }
    CResourceManager::Database().Load(GetModuleDirectory() + L"/Japanese.lng");
    const std::string japanese = report.MakeHtml(facts);
    EXPECT_NE(japanese.find("<html lang=\"ja\">"), std::string::npos);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_NE(japanese.find(Text(keys[i])), std::string::npos) << ToUtf8(std::wstring(keys[i].name));
        EXPECT_EQ(japanese.find(">" + english[i] + "<"), std::string::npos) << english[i];
    }
}

} // namespace
