// SPDX-License-Identifier: GPL-3.0-or-later
// EncodeStringExpression against an evaluator of the BASIC it writes: the
// expression must evaluate to the typed text, each CR and the character
// after it read as one line break.

#include "BasicEvaluator.h"
#include "FuzzInput.h"
#include "codegen/CodeText.h"

using namespace Qt::StringLiterals;

namespace {

// The text as the expression should give it back.
QString expectedValue(QStringView typed)
{
    QString text;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        if (typed[i] == u'\r') {
            text += u"\r\n"_s;
            ++i; // the character after the CR belongs to the break
        } else {
            text += typed[i];
        }
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString typed = fuzzText(data, size);
    const QString expression = codegen::EncodeStringExpression(typed);

    FUZZ_CHECK(expression.startsWith(u'"') && expression.endsWith(u'"'), expression);
    // A CR inside a literal would split the source line.
    FUZZ_CHECK(!expression.contains(u'\r'), expression);
    const std::optional<QString> value = basic::evaluate(expression);
    FUZZ_CHECK(value.has_value(), u"not a string expression: "_s + expression);
    FUZZ_CHECK(*value == expectedValue(typed), u"evaluates to something else: "_s + expression);
    return 0;
}
