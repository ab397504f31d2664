// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One text option of one tool, generated and read back: the code must keep
// to the editor's limits and give the typed text back. Shared by the layout
// tests and the layout fuzz target.

#include "BasicEvaluator.h"
#include "codegen/CodeLayout.h"
#include "codegen/CodeOptions.h"
#include "tools/commondialog/CommonDialogGenerator.h"
#include "tools/header/HeaderGenerator.h"
#include "tools/inputbox/InputBoxGenerator.h"
#include "tools/msgbox/MsgBoxGenerator.h"

#include <algorithm>

namespace layoutcheck {

// Each text a user can make long.
enum class Field {
    Message,
    MessageTitle,
    MessageHelpFile,
    Prompt,
    PromptTitle,
    DefaultAnswer,
    PromptHelpFile,
    OpenTitle,
    OpenFileTypes,
    SaveTitle,
    SaveExtension,
    SaveFileTypes,
    HeaderProject,
    HeaderDescription,
};
inline constexpr int fieldCount = int(Field::HeaderDescription) + 1;

// The text as a message's expression gives it back: a CR and the character
// after it are one line break.
inline QString messageValue(QStringView typed)
{
    QString text;
    for (qsizetype i = 0; i < typed.size(); ++i) {
        if (typed[i] == u'\r') {
            text += QStringLiteral("\r\n");
            ++i;
        } else {
            text += typed[i];
        }
    }
    return text;
}

// File types cut from a text: pieces of 12 or 13 code units, none empty,
// no surrogate pair cut.
inline QStringList fileTypes(const QString &text)
{
    QStringList types;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype size = std::min<qsizetype>(12, text.size() - at);
        if (text[at + size - 1].isHighSurrogate() && at + size < text.size() && text[at + size].isLowSurrogate())
            ++size;
        types << text.mid(at, size);
        at += size;
    }
    return types;
}

struct Outcome
{
    QString code;
    QString error; // empty when the code is sound
};

struct Settings
{
    codegen::CodeOptions options;
    bool appPath = false;
    bool answered = false; // message box with buttons to answer, input box declared
    QString variable = QStringLiteral("Response");
};

namespace detail {

inline QString header(Field field, const QString &text, Outcome &outcome)
{
    HeaderFields fields;
    fields.project = QStringLiteral("Payroll");
    QString prefix = QStringLiteral("' Project:      ");
    if (field == Field::HeaderDescription) {
        fields.description = text;
        prefix = QStringLiteral("' Description:  ");
    } else {
        fields.project = text;
    }
    outcome.code = header::generateHeaderBlock(fields);
    const QStringList lines = outcome.code.split(QStringLiteral("\r\n"));
    const QString indent = u'\'' + QString(15, u' ');
    QString value;
    bool found = false;
    for (const QString &line : lines) {
        if (line.size() > 1023)
            return QStringLiteral("a line of %1 code units").arg(line.size());
        if (!found && line.startsWith(prefix)) {
            found = true;
            value = line.sliced(prefix.size());
        } else if (found && line.startsWith(indent)) {
            value += line.sliced(indent.size());
        } else if (found) {
            break;
        }
    }
    if (lines.size() < 8)
        return QStringLiteral("lines missing");
    return value == text ? QString() : QStringLiteral("the field reads back otherwise");
}

} // namespace detail

inline Outcome check(Field field, const QString &text, const Settings &settings = {})
{
    Outcome outcome;
    QString expected = text;
    // Which call, and which of its arguments, holds the text.
    QString callee;
    QString target;
    int argument = 0;

    switch (field) {
    case Field::Message:
    case Field::MessageTitle:
    case Field::MessageHelpFile: {
        MsgBoxFields fields;
        fields.style.buttonSet = settings.answered ? vbYesNoCancel : vbOKOnly;
        fields.style.icon = vbQuestion;
        fields.help = {field == Field::MessageHelpFile, settings.appPath, {}, QStringLiteral("7")};
        if (field == Field::Message) {
            fields.message = text;
            expected = messageValue(text);
        } else if (field == Field::MessageTitle) {
            fields.title = text;
        } else {
            fields.help.helpFile = text;
            argument = 3;
            if (settings.appPath)
                expected = basic::appPathValue + text;
        }
        if (field == Field::MessageTitle)
            argument = 2;
        outcome.code = generateMsgBoxCode(fields, settings.options);
        callee = QStringLiteral("Msgbox");
        break;
    }
    case Field::Prompt:
    case Field::PromptTitle:
    case Field::DefaultAnswer:
    case Field::PromptHelpFile: {
        InputBoxFields fields;
        fields.variableName = settings.variable;
        fields.declareVariable = settings.answered;
        fields.help = {field == Field::PromptHelpFile, settings.appPath, {}, QStringLiteral("7")};
        switch (field) {
        case Field::Prompt:
            fields.message = text;
            expected = messageValue(text);
            break;
        case Field::PromptTitle:
            fields.title = text;
            argument = 1;
            break;
        case Field::DefaultAnswer:
            fields.defaultAnswer = text;
            argument = 2;
            break;
        default:
            fields.help.helpFile = text;
            argument = 5;
            if (settings.appPath)
                expected = basic::appPathValue + text;
        }
        outcome.code = generateInputBox(fields, settings.options);
        callee = QStringLiteral("InputBox");
        break;
    }
    case Field::OpenTitle:
    case Field::OpenFileTypes:
    case Field::SaveTitle:
    case Field::SaveExtension:
    case Field::SaveFileTypes: {
        CommonDialogFields fields;
        const bool open = field == Field::OpenTitle || field == Field::OpenFileTypes;
        fields.page = open ? DialogKind::Open : DialogKind::Save;
        if (field == Field::OpenTitle) {
            fields.openTitle = text;
            target = QStringLiteral("CommonDialog1.DialogTitle");
        } else if (field == Field::SaveTitle) {
            fields.saveTitle = text;
            target = QStringLiteral("CommonDialog1.DialogTitle");
        } else if (field == Field::SaveExtension) {
            fields.saveDefaultExtension = text;
            target = QStringLiteral("CommonDialog1.DefaultExt");
        } else {
            (open ? fields.openFileTypes : fields.saveFileTypes) = fileTypes(text);
            expected = buildFileFilter(fileTypes(text));
            target = QStringLiteral("CommonDialog1.Filter");
        }
        outcome.code = generateCommonDialogCode(fields, settings.options);
        break;
    }
    case Field::HeaderProject:
    case Field::HeaderDescription:
        outcome.error = detail::header(field, text, outcome);
        return outcome;
    }

    const basic::Run run = basic::run(outcome.code);
    if (!run.error.isEmpty()) {
        outcome.error = run.error;
        return outcome;
    }
    for (const basic::Call &call : run.calls) {
        if (call.callee != callee || (!target.isEmpty() && call.target != target))
            continue;
        if (call.arguments.size() <= argument)
            outcome.error = QStringLiteral("too few arguments");
        else if (call.arguments.at(argument) != expected)
            outcome.error = QStringLiteral("the text reads back otherwise");
        return outcome;
    }
    outcome.error = QStringLiteral("no call");
    return outcome;
}

// A message box statement with the text as its message and, on one line, as
// its title, laid out under any limits: the error, or empty when sound.
inline QString checkStatement(const QString &text, codegen::LineLimits limits)
{
    QString title = text;
    title.replace(u'\r', u' ');
    title.replace(u'\n', u' ');
    const QStringList lines = codegen::layoutStatement(
        {
            {codegen::codePiece(QStringLiteral("Msgbox ")), {}},
            {codegen::messagePieces(text), QStringLiteral("MessageText")},
            {codegen::codePiece(QStringLiteral(", 0, ")), {}},
            {codegen::literalPieces(title), QStringLiteral("TitleText")},
        },
        {QStringLiteral("Response")}, limits);
    const basic::Run run = basic::run(lines.join(QStringLiteral("\r\n")), limits.length, limits.continuations);
    if (!run.error.isEmpty())
        return run.error;
    if (run.calls.size() != 1 || run.calls.at(0).arguments.size() != 3)
        return QStringLiteral("not one call with three arguments");
    if (run.calls.at(0).arguments.at(0) != messageValue(text) || run.calls.at(0).arguments.at(2) != title)
        return QStringLiteral("the text reads back otherwise");
    return {};
}

} // namespace layoutcheck
