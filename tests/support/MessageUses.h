#pragma once
#include "app/CMessageFormatter.h"

#include <regex>
#include <span>
#include <string>
#include <vector>

namespace k52test {

// Every message key the program looks up, with the arguments its callers
// pass: a language file must have each of them, and each must take exactly
// these arguments.
struct MessageUse {
    const wchar_t* key;
    enum { None, Printf, Numbered } style;
    std::vector<FormatArg> args;
};

inline std::vector<MessageUse> MessageUses() {
    const std::wstring s = L"TEXT";
    std::vector<MessageUse> uses = {
        {L"rangeerr", MessageUse::Numbered, {s, s, s}},
        {L"rangeerr2", MessageUse::Numbered, {s, s, s, s}},
        {L"serio.openerr", MessageUse::Printf, {s}},
        {L"jx5com.errcode", MessageUse::Printf, {5}},
        {L"jx5com.comfail", MessageUse::Printf, {s, 1, 2, 1, s}},
        {L"iocap", MessageUse::Printf, {s}},
        {L"difcarderr", MessageUse::Printf, {4}},
        {L"uploaderr", MessageUse::Printf, {s}},
        {L"downloaderr", MessageUse::Printf, {s}},
        // the line: why a port cannot be opened, the monitor's state and counts
        {L"serio.noaccess", MessageUse::Printf, {s, s}},
        {L"monitor.noreply", MessageUse::Printf, {s, s}},
        {L"monitor.counts", MessageUse::Printf, {1ULL, 2ULL, 3ULL, 4ULL}},
        // download safeguards and k52ctl's output
        {L"downvalueerr", MessageUse::Numbered, {s, s, s, s}},
        {L"partialerr", MessageUse::Printf, {s}},
        {L"downloadcancel", MessageUse::Printf, {s}},
        {L"textlenerr", MessageUse::Printf, {249}},
        {L"textcharerr", MessageUse::None, {}},
        {L"outputerr", MessageUse::Printf, {s}},
        // compare, verify and the commissioning report
        {L"cmp.counts", MessageUse::Printf, {1, 2}},
        {L"verifyerr", MessageUse::Printf, {3}},
        {L"report.moduleasfound", MessageUse::Printf, {s}},
    };
    for (const wchar_t* key :
         {L"cmp.withstation", L"cmp.withfile", L"cmp.module", L"cmp.absent", L"cmp.equal", L"cmp.uncounted",
          L"cmp.colslot", L"cmp.colcaption", L"cmp.colwindow", L"cmp.colstation", L"cmp.colfile", L"report.lang",
          L"report.title", L"report.date", L"report.program", L"report.configuration", L"report.asfoundfile",
          L"report.differences", L"report.nodifferences", L"report.lineup", L"report.model",
          L"report.parameters", L"report.value", L"report.asfound", L"report.asleft", L"report.marked",
          L"report.htmlfilter", L"report.pdffilter"}) {
        uses.push_back({key, MessageUse::None, {}});
    }
    for (const wchar_t* key :
         {L"inperr", L"inpierr", L"iperr", L"passwordErr", L"dateErr", L"timeErr", L"yearErr", L"monthErr",
          L"dayErr", L"minErr", L"secErr", L"unitv", L"unitp", L"unitma", L"unitdegc", L"unitdegf", L"unitk",
          L"unitsec", L"unitmsec", L"serio.seterr", L"jx5com.timeout", L"jx5com.invres", L"jx5com.redundantfail",
          L"jx5com.overcount", L"comcap", L"difcomcarderr", L"simuouterr", L"illfileerr", L"desfileerr",
          L"uploading", L"downloading", L"inSimulate", L"siminput", L"simoutput", L"fopenfilter",
          // the line
          L"serio.notpresent", L"serio.inuse", L"monitor.reading"}) {
        uses.push_back({key, MessageUse::None, {}});
    }
    return uses;
}

// The text formatted with the use's arguments (each text argument is
// "TEXT"), as its caller formats it.
inline std::wstring FormatWithItsArguments(const MessageUse& use, const std::wstring& text) {
    const std::span<const FormatArg> args(use.args);
    if (use.style == MessageUse::Printf) {
        return CMessageFormatter::Printf(text, args);
    }
    if (use.style == MessageUse::Numbered) {
        return CMessageFormatter::Numbered(text, args);
    }
    return text;
}

// Every text argument lands in the formatted text once and no insert is
// left over.
inline bool TakesItsArguments(const MessageUse& use, const std::wstring& text) {
    const std::wstring formatted = FormatWithItsArguments(use, text);
    std::size_t texts = 0;
    for (std::size_t at = formatted.find(L"TEXT"); at != std::wstring::npos; at = formatted.find(L"TEXT", at + 1)) {
        ++texts;
    }
    std::size_t expected = 0;
    for (const FormatArg& arg : use.args) {
        expected += arg.GetType() == FormatArg::Type::Text ? 1 : 0;
    }
    const bool insertLeft =
        use.style != MessageUse::None && std::regex_search(formatted, std::wregex(L"%[-+ #0-9.]*[a-zA-Z]|%[1-9]"));
    return texts == expected && !insertLeft;
}

} // namespace k52test
