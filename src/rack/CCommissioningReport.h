#pragma once
#include "base/CResourceManager.h"
#include "rack/CCardSlot.h"
#include "rack/CRackComparison.h"

#include <chrono>
#include <optional>
#include <string>

// The commissioning report of a rack: one self-contained HTML page (no
// scripts, no files beside it, laid out for A4) with the title, the date and
// time, the program's version, the station's module line-up and every
// module's parameters as the parameter list shows them. Given the rack as it
// was found before the work, it opens with every difference between the two
// and marks the changed rows in the full listing too.
//
// Every fixed text is a language text; every text that goes into the page is
// escaped, whoever wrote it (titles, file names, captions, values).
class CCommissioningReport : protected CResourceManager {
public:
    struct Facts {
        std::wstring title;           // empty: the language's own title
        std::wstring configuration;   // where the rack came from (a file name); may be empty
        std::wstring asFoundSource;   // where the rack as found came from; may be empty
        std::chrono::system_clock::time_point made = std::chrono::system_clock::now();
    };

    explicit CCommissioningReport(const CCardSlot& rack);
    // The rack as it was found; the report then opens with the differences.
    void SetAsFound(const CCardSlot& asFound);

    // The page, UTF-8.
    std::string MakeHtml(const Facts& facts) const;

    // The text with &, <, >, " and ' written as HTML references.
    static std::wstring Escape(const std::wstring& text);

private:
    void WriteFacts(std::wstring& page, const Facts& facts) const;
    void WriteDifferences(std::wstring& page) const;
    void WriteLineUp(std::wstring& page) const;
    void WriteParameters(std::wstring& page) const;
    void WriteModule(std::wstring& page, int slotIndex) const;

    const CCardSlot& m_rack;
    std::optional<CCardSlot> m_asFound;
    std::optional<CRackComparison> m_comparison;
};
