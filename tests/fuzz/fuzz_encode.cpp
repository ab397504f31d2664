// EncodeStringExpression against an evaluator of the BASIC it writes: the
// expression must evaluate to the typed text, each CR and the character
// after it read as one line break.

#include "FuzzInput.h"
#include "codegen/CodeText.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Evaluates a BASIC string expression made of literals ("" inside one is a
// quotation mark), vbCrLf and Chr(34), joined by " & ". Nothing else is
// accepted: no other spacing, no empty operand.
std::optional<QString> evaluate(QStringView expression)
{
    static constexpr QStringView join = u" & ";
    static constexpr QStringView lineBreak = u"vbCrLf";
    static constexpr QStringView quote = u"Chr(34)";

    QString value;
    qsizetype i = 0;
    while (true) {
        const QStringView rest = expression.mid(i);
        if (rest.startsWith(u'"')) {
            ++i;
            while (true) {
                if (i >= expression.size())
                    return std::nullopt; // unterminated literal
                if (expression[i] == u'"') {
                    if (i + 1 < expression.size() && expression[i + 1] == u'"') {
                        value += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += expression[i++];
            }
        } else if (rest.startsWith(lineBreak)) {
            value += u"\r\n"_s;
            i += lineBreak.size();
        } else if (rest.startsWith(quote)) {
            value += u'"';
            i += quote.size();
        } else {
            return std::nullopt;
        }
        if (i == expression.size())
            return value;
        if (!expression.mid(i).startsWith(join))
            return std::nullopt;
        i += join.size();
    }
}

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
    const std::optional<QString> value = evaluate(expression);
    FUZZ_CHECK(value.has_value(), u"not a string expression: "_s + expression);
    FUZZ_CHECK(*value == expectedValue(typed), u"evaluates to something else: "_s + expression);
    return 0;
}
