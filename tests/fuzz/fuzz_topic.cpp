// SPDX-License-Identifier: GPL-3.0-or-later
// The topic number: Val's reading of a topic text and the text it is then
// written as. Whatever the text, the written number has BASIC's numeric
// form, and Val reads it back as the very same number.

#include "FuzzInput.h"
#include "codegen/CodeText.h"

#include <QRegularExpression>

#include <cmath>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzzText(data, size);
    const double number = codegen::topicNumber(text);
    const QString written = codegen::formatTopicNumber(number);
    FUZZ_CHECK(written == codegen::topicArgument(text));

    FUZZ_CHECK(!std::isnan(number), text);
    // Blanks, tabs and line feeds are ignored wherever they stand.
    QString packed = text;
    packed.remove(u' ').remove(u'\t').remove(u'\n');
    FUZZ_CHECK(codegen::topicNumber(packed) == number, text);

    // Plain digits with an optional fraction, or BASIC's exponent form; never
    // "-0", and whole numbers below 10^15 without a point or exponent.
    static const QRegularExpression form(u"^-?(0|[1-9][0-9]*)(\\.[0-9]*[1-9])?$|^-?[1-9](\\.[0-9]*[1-9])?E[+-][0-9]{2,3}$"_s);
    FUZZ_CHECK(form.match(written).hasMatch(), written);
    FUZZ_CHECK(written != u"-0"_s);
    if (std::isfinite(number) && number == std::trunc(number) && std::fabs(number) < 1e15)
        FUZZ_CHECK(!written.contains(u'.') && !written.contains(u'E'), written);

    // What is written reads back as the number itself; a number that no
    // help context can be (infinite) is written as 0. A live box gets the
    // context that the written code passes.
    const double readBack = codegen::topicNumber(written);
    FUZZ_CHECK(codegen::topicContext(text) == readBack, text);
    if (std::isfinite(number))
        FUZZ_CHECK(readBack == number, written + u" from "_s + text);
    else
        FUZZ_CHECK(written == u"0"_s, written);
    return 0;
}
