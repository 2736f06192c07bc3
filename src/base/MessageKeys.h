#pragma once
#include <string_view>

// Every message key of the language files, with the arguments its text
// takes. Each key is a constant of its own type, so that looking a key up
// with arguments it does not take, or in the other style of inserts, does
// not compile:
//
//   GetMessage(Msg::inperr)
//   FormatMessage(Msg::difcarderr, slotNumber)
//   FormatNumberedMessage(Msg::rangeerr, caption, lowest, highest)
//
// The comments in lang/English.lng say what each insert is. The language
// tests walk this one list (ForEachMessageKey) and check every language file
// against it, so a new key is declared here and nowhere else.

// How a key's text takes its arguments.
enum class MessageStyle {
    Plain,   // no inserts: the text as it stands
    Printf,  // "%s", "%d", "%llu" ...
    Numbered // "%1", "%2!s!" ...
};

template <MessageStyle Style, class... Args> struct MessageKey {
    // The key as the language files' <message> section names it.
    std::wstring_view name;
};

using PlainMessageKey = MessageKey<MessageStyle::Plain>;

namespace Msg {

// The arguments a key's text may take.
using Text = std::wstring_view;   // %s, %1!s!
using Number = int;               // %d
using Count = unsigned long long; // %llu

// K(name in the code, key in the files, style, the arguments in order)
#define K52_MESSAGE_KEYS(K)                                                                                  \
    /* value checks: caption, lowest, highest; rangeerr2 with the one allowed value outside the range */     \
    K(rangeerr, L"rangeerr", Numbered, Text, Text, Text)                                                     \
    K(rangeerr2, L"rangeerr2", Numbered, Text, Text, Text, Text)                                             \
    K(inperr, L"inperr", Plain)                                                                              \
    K(inpierr, L"inpierr", Plain)                                                                            \
    K(iperr, L"iperr", Plain)                                                                                \
    /* a text that is no value of a field: the field's caption (or channel), lowest, highest; */             \
    /* fielderr: the caption and the plain message */                                                        \
    K(inpierr_named, L"inpierr.named", Numbered, Text, Text, Text)                                           \
    K(inperr_named, L"inperr.named", Numbered, Text, Text, Text)                                             \
    K(fielderr, L"fielderr", Numbered, Text, Text)                                                           \
    K(passwordErr, L"passwordErr", Plain)                                                                    \
    K(dateErr, L"dateErr", Plain)                                                                            \
    K(timeErr, L"timeErr", Plain)                                                                            \
    K(yearErr, L"yearErr", Plain)                                                                            \
    K(monthErr, L"monthErr", Plain)                                                                          \
    K(dayErr, L"dayErr", Plain)                                                                              \
    K(minErr, L"minErr", Plain)                                                                              \
    K(secErr, L"secErr", Plain)                                                                              \
    /* the most characters a text item takes */                                                              \
    K(textlenerr, L"textlenerr", Printf, Number)                                                             \
    K(textcharerr, L"textcharerr", Plain)                                                                    \
    /* units */                                                                                              \
    K(unitv, L"unitv", Plain)                                                                                \
    K(unitp, L"unitp", Plain)                                                                                \
    K(unitma, L"unitma", Plain)                                                                              \
    K(unitdegc, L"unitdegc", Plain)                                                                          \
    K(unitdegf, L"unitdegf", Plain)                                                                          \
    K(unitk, L"unitk", Plain)                                                                                \
    K(unitsec, L"unitsec", Plain)                                                                            \
    K(unitmsec, L"unitmsec", Plain)                                                                          \
    /* serial port: the port's display name; the device's group twice */                                     \
    K(serio_openerr, L"serio.openerr", Printf, Text)                                                         \
    K(serio_seterr, L"serio.seterr", Plain)                                                                  \
    K(serio_notpresent, L"serio.notpresent", Plain)                                                          \
    K(serio_inuse, L"serio.inuse", Plain)                                                                    \
    K(serio_noaccess, L"serio.noaccess", Printf, Text, Text)                                                 \
    K(serio_nopermission, L"serio.nopermission", Plain)                                                      \
    /* link: the status; the command word, module address, item, count and the reason */                     \
    K(jx5com_timeout, L"jx5com.timeout", Plain)                                                              \
    K(jx5com_invres, L"jx5com.invres", Plain)                                                                \
    K(jx5com_errcode, L"jx5com.errcode", Printf, Number)                                                     \
    K(jx5com_redundantfail, L"jx5com.redundantfail", Plain)                                                  \
    K(jx5com_comfail, L"jx5com.comfail", Printf, Text, Number, Number, Number, Text)                         \
    /* jx5com.item: what the failed request was doing, the first insert of jx5com.comfail */                \
    K(jx5com_item, L"jx5com.item", Plain)                                                                    \
    K(jx5com_overcount, L"jx5com.overcount", Plain)                                                          \
    /* rack: the two-digit slot number; the slot number */                                                   \
    K(comcap, L"comcap", Plain)                                                                              \
    K(iocap, L"iocap", Printf, Text)                                                                         \
    K(difcarderr, L"difcarderr", Printf, Number)                                                             \
    K(difcomcarderr, L"difcomcarderr", Plain)                                                                \
    K(simuouterr, L"simuouterr", Plain)                                                                      \
    /* configuration files */                                                                                \
    K(illfileerr, L"illfileerr", Plain)                                                                      \
    K(desfileerr, L"desfileerr", Plain)                                                                      \
    /* transfers: the reason; the slot; the partialerr text; slot, row caption, value, the card's message */ \
    K(uploading, L"uploading", Plain)                                                                        \
    K(downloading, L"downloading", Plain)                                                                    \
    K(progress_items, L"progress.items", Printf, Number, Number, Number, Number)                             \
    K(uploaderr, L"uploaderr", Printf, Text)                                                                 \
    K(downloaderr, L"downloaderr", Printf, Text)                                                             \
    K(partialerr, L"partialerr", Printf, Text)                                                               \
    K(downloadcancel, L"downloadcancel", Printf, Text)                                                       \
    K(downvalueerr, L"downvalueerr", Numbered, Text, Text, Text, Text)                                       \
    /* monitor: since when (hh:mm:ss) and why; exchanges, time-outs, invalid replies, error statuses */      \
    K(inSimulate, L"inSimulate", Plain)                                                                      \
    K(siminput, L"siminput", Plain)                                                                          \
    K(simoutput, L"simoutput", Plain)                                                                        \
    K(monitor_reading, L"monitor.reading", Plain)                                                            \
    K(monitor_noreply, L"monitor.noreply", Printf, Text, Text)                                               \
    K(monitor_counts, L"monitor.counts", Printf, Count, Count, Count, Count)                                 \
    /* live values over time: the reason; the path and the reason; hh:mm:ss and rows; rows and path; */      \
    /* the trend's span in minutes; the simulating modules named */                                          \
    K(recordstarterr, L"recordstarterr", Printf, Text)                                                       \
    K(recordstoperr, L"recordstoperr", Printf, Text, Text)                                                   \
    K(monitor_recording, L"monitor.recording", Printf, Text, Count)                                          \
    K(monitor_recorded, L"monitor.recorded", Printf, Count, Text)                                            \
    K(monitor_stoprecord, L"monitor.stoprecord", Plain)                                                      \
    K(monitor_span, L"monitor.span", Printf, Number)                                                         \
    K(monitor_resume, L"monitor.resume", Plain)                                                              \
    K(monitor_trendnone, L"monitor.trendnone", Plain)                                                        \
    K(monitor_simulating, L"monitor.simulating", Printf, Text)                                               \
    K(monitor_simquestion, L"monitor.simquestion", Printf, Text)                                             \
    K(monitor_leavesim, L"monitor.leavesim", Plain)                                                          \
    K(monitor_simoff, L"monitor.simoff", Plain)                                                              \
    K(monitor_simoffing, L"monitor.simoffing", Plain)                                                        \
    K(monitor_simofferr, L"monitor.simofferr", Printf, Text)                                                 \
    /* file dialogs: description|pattern pairs */                                                            \
    K(fopenfilter, L"fopenfilter", Plain)                                                                    \
    K(csvfilter, L"csvfilter", Plain)                                                                        \
    /* k52ctl: why its output could not be written */                                                        \
    K(outputerr, L"outputerr", Printf, Text)                                                                 \
    /* windows: the open file's name; a channel number from 1; the port list's own names; */                 \
    /* the language code of Qt's own dialogs and buttons */                                                  \
    K(filename, L"filename", Printf, Text)                                                                   \
    K(listfilter, L"listfilter", Plain)                                                                      \
    /* listfilter.none: %s the text searched for */                                                          \
    K(listfilter_none, L"listfilter.none", Printf, Text)                                                     \
    K(channel, L"channel", Printf, Number)                                                                   \
    K(monitor_colno, L"monitor.colno", Plain)                                                                \
    K(monitor_coltype, L"monitor.coltype", Plain)                                                            \
    K(monitor_in, L"monitor.in", Plain)                                                                      \
    K(monitor_out, L"monitor.out", Plain)                                                                    \
    K(demostation, L"demostation", Plain)                                                                    \
    K(comport, L"comport", Plain)                                                                            \
    K(qtlocale, L"qtlocale", Plain)                                                                          \
    /* compare, verify, the commissioning report: modules and values that differ; differences; model name */ \
    K(cmp_withstation, L"cmp.withstation", Plain)                                                            \
    K(cmp_withfile, L"cmp.withfile", Plain)                                                                  \
    K(cmp_module, L"cmp.module", Plain)                                                                      \
    K(cmp_absent, L"cmp.absent", Plain)                                                                      \
    K(cmp_equal, L"cmp.equal", Plain)                                                                        \
    K(cmp_counts, L"cmp.counts", Printf, Number, Number)                                                     \
    K(cmp_uncounted, L"cmp.uncounted", Plain)                                                                \
    K(cmp_colslot, L"cmp.colslot", Plain)                                                                    \
    K(cmp_colcaption, L"cmp.colcaption", Plain)                                                              \
    K(cmp_colwindow, L"cmp.colwindow", Plain)                                                                \
    K(cmp_colstation, L"cmp.colstation", Plain)                                                              \
    K(cmp_colfile, L"cmp.colfile", Plain)                                                                    \
    K(verifyerr, L"verifyerr", Printf, Number)                                                               \
    K(report_lang, L"report.lang", Plain)                                                                    \
    K(report_title, L"report.title", Plain)                                                                  \
    K(report_date, L"report.date", Plain)                                                                    \
    K(report_program, L"report.program", Plain)                                                              \
    K(report_configuration, L"report.configuration", Plain)                                                  \
    K(report_asfoundfile, L"report.asfoundfile", Plain)                                                      \
    K(report_differences, L"report.differences", Plain)                                                      \
    K(report_nodifferences, L"report.nodifferences", Plain)                                                  \
    K(report_lineup, L"report.lineup", Plain)                                                                \
    K(report_model, L"report.model", Plain)                                                                  \
    K(report_parameters, L"report.parameters", Plain)                                                        \
    K(report_value, L"report.value", Plain)                                                                  \
    K(report_asfound, L"report.asfound", Plain)                                                              \
    K(report_asleft, L"report.asleft", Plain)                                                                \
    K(report_marked, L"report.marked", Plain)                                                                \
    K(report_moduleasfound, L"report.moduleasfound", Printf, Text)                                           \
    K(report_htmlfilter, L"report.htmlfilter", Plain)                                                        \
    K(report_pdffilter, L"report.pdffilter", Plain)                                                          \
    /* main window: the question before changes are replaced; the status line (count, port, time; file, */   \
    /* time; captions of the rows reset); the label of a rack read from the station; a port outside the list */ \
    K(unsaved_question, L"unsaved.question", Plain)                                                          \
    K(unsaved_save, L"unsaved.save", Plain)                                                                  \
    K(unsaved_discard, L"unsaved.discard", Plain)                                                            \
    K(unsaved_cancel, L"unsaved.cancel", Plain)                                                              \
    K(status_uploaded, L"status.uploaded", Printf, Number, Text, Text)                                       \
    K(status_downloaded, L"status.downloaded", Printf, Number, Text, Text)                                   \
    K(status_saved, L"status.saved", Printf, Text, Text)                                                     \
    K(status_compared, L"status.compared", Printf, Text, Number, Number)                                     \
    K(status_report, L"status.report", Printf, Text, Text)                                                   \
    K(status_reset, L"status.reset", Printf, Text)                                                           \
    K(fromstation, L"fromstation", Printf, Text, Text)                                                       \
    K(otherport, L"otherport", Plain)                                                                        \
    K(otherport_prompt, L"otherport.prompt", Plain)                                                          \
    K(otherport_bad, L"otherport.bad", Printf, Text)                                                    \
    /* the About box: the version caption, the version of Qt the program runs with */                       \
    K(about_title, L"about.title", Plain)                                                                    \
    K(about_text, L"about.text", Printf, Text, Text)                                                         \
    /* odd hand-edited files: slot caption; slot, parameter caption, item code; slot, model name; */          \
    /* slot, caption, the refusal; the file's name; the file's name, the warning; downloads read back */       \
    K(loadwarn_slot, L"loadwarn.slot", Printf, Text)                                                         \
    K(loadwarn_item, L"loadwarn.item", Printf, Text, Text, Text)                                             \
    K(loadwarn_model, L"loadwarn.model", Printf, Text, Text)                                                 \
    K(loadwarn_text, L"loadwarn.text", Printf, Text, Text, Text)                                             \
    K(loadwarn_heading, L"loadwarn.heading", Printf, Text)                                                   \
    K(ambiguouserr, L"ambiguouserr", Printf, Text, Text)                                                     \
    K(verifyreaderr, L"verifyreaderr", Plain)                                                                \
    K(verifyreadcancel, L"verifyreadcancel", Plain)

// The style and the argument types follow one another: MessageStyle::Printf, Text ...
#define K52_DECLARE_MESSAGE_KEY(name, key, ...) inline constexpr MessageKey<MessageStyle::__VA_ARGS__> name{key};
K52_MESSAGE_KEYS(K52_DECLARE_MESSAGE_KEY)
#undef K52_DECLARE_MESSAGE_KEY

} // namespace Msg

// Calls visit(key) for every key above, in the order of the list.
template <class Visit> void ForEachMessageKey(Visit&& visit) {
#define K52_VISIT_MESSAGE_KEY(name, ...) visit(Msg::name);
    K52_MESSAGE_KEYS(K52_VISIT_MESSAGE_KEY)
#undef K52_VISIT_MESSAGE_KEY
}

#undef K52_MESSAGE_KEYS
