// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs generated BASIC far enough to check what it means: the string
// expressions the generators write (literals with "" for a quotation mark,
// vbCrLf, Chr(34), a control character's Chr(n), App.Path and String
// variables, joined by " & "), over
// several statements and continued lines, and the calls and assignments that
// use them. It holds the code to the editor's limits as it goes.

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace basic {

// What App.Path gives while checking: no text a user types.
inline const QString appPathValue = QStringLiteral("\u0001App.Path\u0001");

// The character of `Chr(n)` for a control character, which literals cannot
// hold.
inline std::optional<QChar> controlCode(QStringView operand)
{
    if (!operand.startsWith(u"Chr(") || !operand.endsWith(u')'))
        return std::nullopt;
    bool ok = false;
    const int code = operand.sliced(4, operand.size() - 5).toInt(&ok);
    if (!ok || !((code >= 0 && code < 0x20 && code != 9) || code == 0x7f))
        return std::nullopt;
    return QChar(char16_t(code));
}

// Evaluates one string expression on a single line. Nothing else is
// accepted: no other spacing, no empty operand, no unknown name.
inline std::optional<QString> evaluate(QStringView expression, const QHash<QString, QString> &variables = {})
{
    static constexpr QStringView join = u" & ";
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
        } else {
            qsizetype end = rest.indexOf(join);
            if (end < 0)
                end = rest.size();
            const QStringView operand = rest.first(end);
            if (operand == u"vbCrLf")
                value += QStringLiteral("\r\n");
            else if (operand == u"Chr(34)")
                value += u'"';
            else if (const std::optional<QChar> code = controlCode(operand))
                value += *code;
            else if (operand == u"App.Path")
                value += appPathValue;
            else if (const auto known = variables.constFind(operand.toString().toLower()); known != variables.cend())
                value += *known;
            else
                return std::nullopt;
            i += end;
        }
        if (i == expression.size())
            return value;
        if (!expression.mid(i).startsWith(join))
            return std::nullopt;
        i += join.size();
    }
}

struct Call
{
    QString target; // the variable or property assigned, if any
    QString callee; // Msgbox, InputBox, or empty for a plain assignment
    // Each argument's value when it is a string expression, else its text.
    QStringList arguments;
};

struct Run
{
    QString error; // empty when the code is sound
    QHash<QString, QString> variables; // by lower-case name
    QList<Call> calls;
    int statements = 0;
};

namespace detail {

// Splits an argument list at the commas outside literals and parentheses.
inline QStringList splitArguments(QStringView text)
{
    QStringList arguments;
    bool quoted = false;
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == u'(')
            ++depth;
        else if (!quoted && c == u')')
            --depth;
        else if (!quoted && depth == 0 && c == u',') {
            arguments << text.sliced(start, i - start).trimmed().toString();
            start = i + 1;
        }
    }
    arguments << text.sliced(start).trimmed().toString();
    return arguments;
}

inline bool isIgnored(QStringView statement)
{
    static const QStringList keywords{QStringLiteral("Select Case "), QStringLiteral("Case "),   QStringLiteral("End Select"),
                                      QStringLiteral("On Error "),    QStringLiteral("Goto "),   QStringLiteral("CommonDialog1.Show")};
    const QStringView trimmed = statement.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(u'\'') || trimmed.endsWith(u':'))
        return true;
    for (const QString &keyword : keywords) {
        if (trimmed.startsWith(keyword))
            return true;
    }
    return false;
}

} // namespace detail

// Runs the code: every physical line at most `maxLine` code units, every
// statement over at most `maxContinuations` continued lines.
inline Run run(QStringView code, qsizetype maxLine = 1023, int maxContinuations = 24)
{
    Run result;
    QSet<QString> declared;
    QSet<QString> built;
    const auto fail = [&result](const QString &message) {
        if (result.error.isEmpty())
            result.error = message;
    };

    const QList<QStringView> lines = code.split(u"\r\n");
    for (qsizetype i = 0; i < lines.size() && result.error.isEmpty(); ++i) {
        QString statement;
        int continuations = 0;
        for (;; ++i) {
            if (i >= lines.size())
                return fail(QStringLiteral("a continuation after the last line")), result;
            const QStringView line = lines.at(i);
            if (line.size() > maxLine)
                fail(QStringLiteral("line %1 has %2 code units").arg(i + 1).arg(line.size()));
            if (line.contains(u'\r') || line.contains(u'\n'))
                fail(QStringLiteral("line %1 has a lone line break").arg(i + 1));
            const bool comment = line.trimmed().startsWith(u'\'');
            if (comment || !line.endsWith(u" _")) {
                statement += line;
                break;
            }
            statement += line.chopped(1);
            ++continuations;
        }
        if (continuations > maxContinuations)
            fail(QStringLiteral("a statement ending on line %1 has %2 continuations").arg(i + 1).arg(continuations));
        if (detail::isIgnored(statement))
            continue;
        ++result.statements;

        if (statement.startsWith(u"Dim ")) {
            const QStringList words = statement.split(u' ');
            if (words.size() != 4 || words.at(2).compare(u"As", Qt::CaseInsensitive) != 0)
                fail(QStringLiteral("not a declaration: ") + statement);
            else if (declared.contains(words.at(1).toLower()))
                fail(QStringLiteral("declared twice: ") + words.at(1));
            declared << words.at(1).toLower();
            continue;
        }

        Call call;
        QStringView rest = statement;
        if (const qsizetype equals = rest.indexOf(u" = "); equals > 0 && !rest.first(equals).contains(u'"')) {
            call.target = rest.first(equals).toString();
            rest = rest.sliced(equals + 3);
        }
        for (const QStringView callee : {QStringView(u"Msgbox"), QStringView(u"InputBox")}) {
            if (rest.startsWith(callee) && rest.sliced(callee.size()).startsWith(u' ')) {
                call.callee = callee.toString();
                rest = rest.sliced(callee.size() + 1);
                if (!call.target.isEmpty()) {
                    if (!rest.startsWith(u'(') || !rest.endsWith(u')'))
                        fail(QStringLiteral("no parentheses: ") + statement);
                    rest = rest.sliced(1).chopped(1);
                }
            }
        }
        const QStringList texts = call.callee.isEmpty() ? QStringList{rest.toString()} : detail::splitArguments(rest);
        for (const QString &text : texts)
            call.arguments << evaluate(text, result.variables).value_or(text);

        const QString target = call.target.toLower();
        if (call.callee.isEmpty() && !target.contains(u'.')) {
            // A variable built up, which has to be declared first.
            if (!declared.contains(target))
                fail(QStringLiteral("not declared: ") + call.target);
            const std::optional<QString> value = evaluate(rest, result.variables);
            if (!value)
                fail(QStringLiteral("not a string expression: ") + rest.left(200).toString());
            result.variables.insert(target, value.value_or(QString()));
            built << target;
            continue;
        }
        if (built.contains(target))
            fail(QStringLiteral("a call stores its answer in a variable the code uses for text: ") + call.target);
        result.calls << call;
    }
    return result;
}

} // namespace basic
