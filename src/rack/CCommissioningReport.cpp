#include "rack/CCommissioningReport.h"

#include "base/LocalTime.h"
#include "base/TextConvert.h"
#include "base/Version.h"
#include "catalog/CCardInterface.h"

#include <ctime>

namespace {

// Printed on A4 in black and white as well as on a screen: the changed rows
// carry a mark besides their colour.
constexpr const wchar_t* kStyle =
    LR"css(@page { size: A4; margin: 15mm 12mm; }
body { font-family: sans-serif; font-size: 10pt; color: #000; background: #fff; margin: 0; }
@media screen { body { margin: 12px 16px; max-width: 190mm; } }
h1 { font-size: 16pt; margin: 0 0 6pt 0; }
h2 { font-size: 13pt; margin: 14pt 0 4pt 0; border-bottom: 1px solid #444; }
h3 { font-size: 11pt; margin: 10pt 0 3pt 0; page-break-after: avoid; }
table { border-collapse: collapse; width: 100%; margin: 0 0 4pt 0; }
th, td { border: 1px solid #999; padding: 2pt 4pt; text-align: left; vertical-align: top; }
th { background: #e8e8e8; }
tr { page-break-inside: avoid; }
thead { display: table-header-group; }
table.facts { width: auto; }
table.facts th { background: #fff; border: none; padding: 1pt 12pt 1pt 0; font-weight: bold; }
table.facts td { border: none; }
td.mark, th.mark { width: 1.2em; text-align: center; font-weight: bold; }
th.caption { width: 55%; }
tr.group td { background: #f2f2f2; font-weight: bold; }
tr.changed td { background: #ffe9a8; font-weight: bold; }
tr.unused td { color: #777; }
p.changed { background: #ffe9a8; font-weight: bold; padding: 2pt 4pt; }
p.note { margin: 2pt 0 6pt 0; }
)css";

// The style sheet lays the tables out in a browser; the attributes do the same
// where only HTML is read (the PDF of the windows).
constexpr const wchar_t* kTable = L"<table width=\"100%\" cellspacing=\"0\" cellpadding=\"3\">";

std::wstring LocalTime(std::chrono::system_clock::time_point made) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(made);
    std::tm local{};
    ToLocalTime(seconds, local);
    char text[64] = {};
    // The offset is formatted here: not every C library's %z gives "+0900".
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S ", &local);
    return FromUtf8(text + UtcOffsetText(seconds));
}

std::wstring ModelText(const std::wstring& model) {
    return model.empty() ? CResourceManager::GetMessage(Msg::cmp_absent) : model;
}

std::wstring ValueText(const std::wstring& text, int row) {
    return row < 0 ? CResourceManager::GetMessage(Msg::cmp_absent) : text;
}

// "<tr><td>a</td>...</tr>", each cell escaped.
std::wstring Row(std::initializer_list<std::wstring> cells, const wchar_t* rowClass = nullptr,
                 const wchar_t* cellTag = L"td") {
    std::wstring row = rowClass != nullptr ? std::wstring(L"<tr class=\"") + rowClass + L"\">" : L"<tr>";
    for (const std::wstring& cell : cells) {
        row += std::wstring(L"<") + cellTag + L">" + CCommissioningReport::Escape(cell) + L"</" + cellTag + L">";
    }
    return row + L"</tr>\n";
}

// A fact of the report's head: the label a heading cell, so that the style
// sheet's gap after it holds in a PDF too, where the cells' own padding
// shrinks to nothing and label and value would run together.
std::wstring FactRow(const std::wstring& label, const std::wstring& value) {
    return L"<tr><th style=\"padding-right: 12pt\">" + CCommissioningReport::Escape(label) + L"</th><td>" +
           CCommissioningReport::Escape(value) + L"</td></tr>\n";
}

bool HasModule(const CCardSlot& rack, int slotIndex) {
    const CCardSlot::CardHandle card = rack.GetCard(slotIndex);
    if (card == nullptr) {
        return false;
    }
    // The COM slot always holds the station's communication module.
    return !CCardSlot::IsIoSlotNumber(CCardSlot::GetSlotNumber(slotIndex)) || card->GetTypeCode() != 0;
}

} // namespace

CCommissioningReport::CCommissioningReport(const CCardSlot& rack) : m_rack(rack) {}

void CCommissioningReport::SetAsFound(const CCardSlot& asFound) {
    m_asFound = asFound;
    m_comparison.emplace(*m_asFound, m_rack);
}

std::wstring CCommissioningReport::Escape(const std::wstring& text) {
    std::wstring escaped;
    escaped.reserve(text.size());
    for (const wchar_t c : text) {
        switch (c) {
        case L'&':
            escaped += L"&amp;";
            break;
        case L'<':
            escaped += L"&lt;";
            break;
        case L'>':
            escaped += L"&gt;";
            break;
        case L'"':
            escaped += L"&quot;";
            break;
        case L'\'':
            escaped += L"&#39;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string CCommissioningReport::MakeHtml(const Facts& facts) const {
    const std::wstring title = facts.title.empty() ? GetMessage(Msg::report_title) : facts.title;
    std::wstring page = L"<!DOCTYPE html>\n<html lang=\"" + Escape(GetMessage(Msg::report_lang)) +
                        L"\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + Escape(title) +
                        L"</title>\n<style>\n" + kStyle + L"</style>\n</head>\n<body>\n<h1>" + Escape(title) +
                        L"</h1>\n";
    Facts shown = facts;
    shown.title = title;
    WriteFacts(page, shown);
    if (m_comparison) {
        WriteDifferences(page);
    }
    WriteLineUp(page);
    WriteParameters(page);
    page += L"</body>\n</html>\n";
    return ToUtf8(page);
}

void CCommissioningReport::WriteFacts(std::wstring& page, const Facts& facts) const {
    page += L"<table class=\"facts\" cellspacing=\"0\" cellpadding=\"3\">\n";
    page += FactRow(GetMessage(Msg::report_date), LocalTime(facts.made));
    page += FactRow(GetMessage(Msg::report_program), GetVersionCaption());
    if (!facts.configuration.empty()) {
        page += FactRow(GetMessage(Msg::report_configuration), facts.configuration);
    }
    if (m_comparison && !facts.asFoundSource.empty()) {
        page += FactRow(GetMessage(Msg::report_asfoundfile), facts.asFoundSource);
    }
    page += L"</table>\n";
}

void CCommissioningReport::WriteDifferences(std::wstring& page) const {
    const CRackComparison& comparison = *m_comparison;
    page += L"<h2>" + Escape(GetMessage(Msg::report_differences)) + L"</h2>\n";
    if (comparison.IsEqual()) {
        page += L"<p class=\"note\">" + Escape(GetMessage(Msg::report_nodifferences)) + L"</p>\n";
    } else {
        page +=
            L"<p class=\"note\">" +
            Escape(FormatMessage(Msg::cmp_counts, static_cast<int>(comparison.GetModuleDifferences().size()),
                                 static_cast<int>(comparison.GetValueDifferences().size()))) +
            L"</p>\n";
        page += std::wstring(kTable) + L"\n<thead>" +
                Row({GetMessage(Msg::cmp_colslot), GetMessage(Msg::cmp_colcaption),
                     GetMessage(Msg::report_asfound), GetMessage(Msg::report_asleft)},
                    nullptr, L"th") +
                L"</thead>\n";
        for (int index = 0; index < CCardSlot::kSlotCount; ++index) {
            for (const CRackComparison::ModuleDifference& module : comparison.GetModuleDifferences()) {
                if (module.slotIndex == index) {
                    page += Row({m_rack.GetSlotCaption(index), GetMessage(Msg::cmp_module),
                                 ModelText(module.leftModel), ModelText(module.rightModel)},
                                L"changed");
                }
            }
            for (const CRackComparison::RowDifference& row : comparison.GetValueDifferences()) {
                if (row.slotIndex == index) {
                    page += Row({m_rack.GetSlotCaption(index), row.caption, ValueText(row.leftText, row.leftRow),
                                 ValueText(row.rightText, row.rightRow)});
                }
            }
        }
        page += L"</table>\n";
    }
    if (!comparison.GetUncountedDifferences().empty()) {
        page += L"<h3>" + Escape(GetMessage(Msg::cmp_uncounted)) + L"</h3>\n" + std::wstring(kTable) +
                L"\n<thead>" +
                Row({GetMessage(Msg::cmp_colslot), GetMessage(Msg::cmp_colcaption),
                     GetMessage(Msg::report_asfound), GetMessage(Msg::report_asleft)},
                    nullptr, L"th") +
                L"</thead>\n";
        for (const CRackComparison::RowDifference& row : comparison.GetUncountedDifferences()) {
            page += Row({m_rack.GetSlotCaption(row.slotIndex), row.caption, ValueText(row.leftText, row.leftRow),
                         ValueText(row.rightText, row.rightRow)},
                        L"unused");
        }
        page += L"</table>\n";
    }
}

void CCommissioningReport::WriteLineUp(std::wstring& page) const {
    page += L"<h2>" + Escape(GetMessage(Msg::report_lineup)) + L"</h2>\n" + std::wstring(kTable) +
            L"\n<thead>" +
            Row({GetMessage(Msg::cmp_colslot), GetMessage(Msg::report_model), GetMessage(Msg::cmp_module)},
                nullptr, L"th") +
            L"</thead>\n";
    for (int index = 0; index < CCardSlot::kSlotCount; ++index) {
        const CCardSlot::CardHandle card = m_rack.GetCard(index);
        // The short name: "Empty" for an empty slot, the model name for a module.
        const std::wstring model =
            card != nullptr ? TextOr([&] { return card->GetCardName().GetShortName(); }) : std::wstring();
        const std::wstring name =
            card != nullptr ? TextOr([&] { return card->GetCardName().GetLongName(); }) : std::wstring();
        const bool changed = m_comparison && m_comparison->IsModuleDifferent(index);
        page += Row({m_rack.GetSlotCaption(index), ModelText(model), name}, changed ? L"changed" : nullptr);
    }
    page += L"</table>\n";
}

void CCommissioningReport::WriteParameters(std::wstring& page) const {
    page += L"<h2>" + Escape(GetMessage(Msg::report_parameters)) + L"</h2>\n";
    if (m_comparison && !m_comparison->IsEqual()) {
        page += L"<p class=\"note\">" + Escape(GetMessage(Msg::report_marked)) + L"</p>\n";
    }
    for (int index = 0; index < CCardSlot::kSlotCount; ++index) {
        if (HasModule(m_rack, index)) {
            WriteModule(page, index);
        }
    }
}

void CCommissioningReport::WriteModule(std::wstring& page, int slotIndex) const {
    const CCardInterface& card = *m_rack.GetCard(slotIndex);
    page += L"<h3>" + Escape(m_rack.GetSlotCaption(slotIndex) + L"  " +
                             TextOr([&] { return card.GetCardName().GetLongName(); })) +
            L"</h3>\n";
    if (m_comparison && m_comparison->IsModuleDifferent(slotIndex)) {
        const CCardSlot::CardHandle before = m_asFound->GetCard(slotIndex);
        page += L"<p class=\"changed\">" +
                Escape(FormatMessage(
                    Msg::report_moduleasfound,
                    ModelText(before != nullptr ? before->GetCardName().GetModelName() : std::wstring()))) +
                L"</p>\n";
    }
    page += std::wstring(kTable) +
            L"\n<thead><tr><th class=\"mark\" width=\"3%\"></th><th class=\"caption\" width=\"55%\">" +
            Escape(GetMessage(Msg::cmp_colcaption)) + L"</th><th>" + Escape(GetMessage(Msg::report_value)) +
            L"</th></tr></thead>\n";
    for (int row = 0; row < card.GetParameterCount(); ++row) {
        const ParameterDefinition& definition = card.GetParameter(row);
        // As the parameter list of the main window shows the module.
        if ((definition.flags & FlagOnDemand) != 0) {
            continue;
        }
        const std::wstring caption = TextOr([&] { return card.GetCaption(row); });
        if (definition.kind == KindGroup) {
            page += L"<tr class=\"group\"><td class=\"mark\"></td><td colspan=\"2\">" + Escape(caption) +
                    L"</td></tr>\n";
            continue;
        }
        const bool changed = m_comparison && m_comparison->IsRightRowDifferent(slotIndex, row);
        const wchar_t* rowClass = changed ? L" class=\"changed\"" : (card.IsDisabled(row) ? L" class=\"unused\"" : L"");
        page += std::wstring(L"<tr") + rowClass + L"><td class=\"mark\">" + (changed ? L"\u25cf" : L"") +
                L"</td><td>" + Escape(caption) + L"</td><td>" +
                Escape(TextOr([&] { return card.GetDisplayText(row); })) + L"</td></tr>\n";
    }
    page += L"</table>\n";
}
