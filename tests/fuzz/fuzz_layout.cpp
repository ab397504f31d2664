// SPDX-License-Identifier: GPL-3.0-or-later
// Long texts laid out within the editor's limits. The first bytes pick a
// tool's text option, the style, and how many times the text repeats (up to
// some hundred thousand code units, past several statements of the most
// continuations); the code must read back to the text. The same text is
// also laid out under small limits, where every cut falls somewhere else.
// Input: field, settings, repeats, line length, continuations, then the text.

#include "FuzzInput.h"
#include "LayoutCheck.h"
#include "codegen/CodeText.h"

using namespace Qt::StringLiterals;

namespace {

bool isMultiLine(layoutcheck::Field field)
{
    return field == layoutcheck::Field::Message || field == layoutcheck::Field::Prompt;
}

// The text as a single-line field holds it.
QString singleLine(QString text)
{
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 5)
        return 0;
    const auto field = layoutcheck::Field(data[0] % layoutcheck::fieldCount);
    static const QStringList variables{u"Response"_s, u"PromptText"_s, u"titletext"_s, u"PromptText2"_s};
    layoutcheck::Settings settings;
    settings.options.constants =
        data[1] & 1 ? codegen::CodeOptions::Constants::Names : codegen::CodeOptions::Constants::Numbers;
    settings.appPath = data[1] & 2;
    settings.answered = data[1] & 4;
    settings.variable = variables.at((data[1] >> 3) % variables.size());
    const int repeats = 1 + data[2] % 64;
    const codegen::LineLimits small{48 + data[3], 1 + data[4] % 24};

    QString typed = fuzzText(data + 5, size - 5);
    if (isMultiLine(field))
        typed = codegen::toCrLf(typed);
    else
        typed = singleLine(typed);

    const QString message = codegen::toCrLf(typed);
    const QString error = layoutcheck::checkStatement(message, small);
    FUZZ_CHECK(error.isEmpty(), error + u": "_s + shown(message));

    const QString text = typed.repeated(repeats);
    const layoutcheck::Outcome outcome = layoutcheck::check(field, text, settings);
    FUZZ_CHECK(outcome.error.isEmpty(), outcome.error);
    return 0;
}
