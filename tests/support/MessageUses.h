#pragma once
#include "app/CMessageFormatter.h"

#include <vector>

namespace k52test {

// Every message key the program looks up, with the arguments its users pass.
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
    };
    for (const wchar_t* key :
         {L"inperr", L"inpierr", L"iperr", L"passwordErr", L"dateErr", L"timeErr", L"yearErr", L"monthErr",
          L"dayErr", L"minErr", L"secErr", L"unitv", L"unitp", L"unitma", L"unitdegc", L"unitdegf", L"unitk",
          L"unitsec", L"unitmsec", L"serio.seterr", L"jx5com.timeout", L"jx5com.invres", L"jx5com.redundantfail",
          L"jx5com.overcount", L"comcap", L"difcomcarderr", L"simuouterr", L"illfileerr", L"desfileerr",
          L"uploading", L"downloading", L"inSimulate", L"siminput", L"simoutput", L"fopenfilter"}) {
        uses.push_back({key, MessageUse::None, {}});
    }
    return uses;
}

} // namespace k52test
