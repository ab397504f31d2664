// SPDX-License-Identifier: GPL-3.0-or-later
// The code reader on any text. It never crashes or hangs, and either reads
// or refuses with a line and column inside the text and a one-line reason.
// What it reads, written again by the tool's generator in both constant
// styles, reads back as the very same fields, and a line that has nothing to
// do with it, added at the end, changes nothing it read.

#include "FuzzInput.h"
#include "app/Tools.h"
#include "codegen/CodeText.h"
#include "reader/CodeReader.h"
#include "reader/ResultJson.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzzText(data, size);
    const ReadResult result = readCode(text, tools());
    if (!result.ok()) {
        const ReadError &error = *result.error;
        FUZZ_CHECK(error.line >= 1 && error.column >= 1, error.text());
        FUZZ_CHECK(error.line <= text.count(u'\n') + text.count(u'\r') + 1, error.text());
        FUZZ_CHECK(!error.message.isEmpty() && !codegen::hasLineBreak(error.message), error.text());
        return 0;
    }

    // Code after the call: an unrelated statement, and a comment.
    for (const QString &tail : {u"\r\n\r\nDim zzUnrelated As Long: zzUnrelated = 1"_s, u"\n\n' MsgBox \"zz\", 36"_s}) {
        const ReadResult longer = readCode(text + tail, tools());
        FUZZ_CHECK(longer.ok() && longer.tool == result.tool && readResultJson(longer) == readResultJson(result), text);
    }

    // In either style and in the dialect read; a tool whose object tells the
    // style reads it back too.
    const QJsonObject read = readResultJson(result);
    const auto dialect = result.code.dialect;
    for (const auto constants : {codegen::CodeOptions::Constants::Numbers, codegen::CodeOptions::Constants::Names}) {
        // Gambas has no named constants: its code has one style.
        if (dialect == codegen::CodeOptions::Dialect::Gambas && constants == codegen::CodeOptions::Constants::Names)
            continue;
        const ReadResult again = readCode(result.tool->generate(result.fields, {constants, dialect}), tools());
        FUZZ_CHECK(again.ok() && again.tool == result.tool, text);
        QJsonObject reread = readResultJson(again);
        if (read.contains(u"constants"_s)) {
            FUZZ_CHECK(reread.value(u"constants"_s)
                           == (constants == codegen::CodeOptions::Constants::Names ? u"names"_s : u"numbers"_s),
                       text);
            reread.insert(u"constants"_s, read.value(u"constants"_s));
        }
        // Code that two dialects write alike reads as one of them: the
        // dialect may only differ where their code is the same.
        if (reread.value(u"dialect"_s) != read.value(u"dialect"_s)) {
            const auto dialectOf = [](const QJsonValue &name) {
                return basic::dialectFromName(name.toString()).value_or(basic::Dialect::VisualBasic);
            };
            FUZZ_CHECK(result.tool->generate(result.fields, {constants, dialectOf(read.value(u"dialect"_s))})
                           == result.tool->generate(result.fields, {constants, dialectOf(reread.value(u"dialect"_s))}),
                       text);
            reread.insert(u"dialect"_s, read.value(u"dialect"_s));
        }
        FUZZ_CHECK(reread == read, text);
    }
    return 0;
}
