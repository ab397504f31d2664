// SPDX-License-Identifier: GPL-3.0-or-later
// The fix command's scanner on any text: it never crashes or hangs, never
// changes a byte inside a string or a comment, changes only numbers into
// names of the same value, and a second run changes nothing.

#include "FuzzInput.h"
#include "basic/Lexer.h"
#include "fix/ModuleFixer.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzzText(data, size);
    for (const auto dialect : {basic::Dialect::VisualBasic, basic::Dialect::LibreOffice}) {
        const fix::ModuleFixes fixes = fix::fixModule(text, dialect);
        const std::vector<basic::Token> tokens = basic::tokenize(text);
        std::size_t k = 0;
        QString after;
        qsizetype done = 0;
        for (const fix::Change &change : fixes.changes) {
            FUZZ_CHECK(change.from >= done && change.to > change.from && change.to <= text.size(), text);
            // Every token the span touches is code: no string, no comment.
            while (k < tokens.size() && tokens[k].pos + tokens[k].len <= change.from)
                ++k;
            for (std::size_t j = k; j < tokens.size() && tokens[j].pos < change.to; ++j) {
                FUZZ_CHECK(tokens[j].kind != basic::TokenKind::String && tokens[j].kind != basic::TokenKind::Comment
                               && tokens[j].kind != basic::TokenKind::BadString
                               && tokens[j].kind != basic::TokenKind::Directive,
                           text);
            }
            FUZZ_CHECK(!change.replacement.contains(u'"') && !change.replacement.contains(u'\''), text);
            after += QStringView(text).sliced(done, change.from - done);
            after += change.replacement;
            done = change.to;
        }
        after += QStringView(text).sliced(done);
        FUZZ_CHECK(fix::fixModule(after, dialect).changes.empty(), text);
    }
    return 0;
}
