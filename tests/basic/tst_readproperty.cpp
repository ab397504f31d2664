// SPDX-License-Identifier: GPL-3.0-or-later
// Random straight-line code, read back: the message is what running the
// code gives. The same code with control flow, a jump or a procedure
// boundary put at the variable the message comes from is refused.

#include "app/Tools.h"
#include "reader/CodeReader.h"
#include "tools/msgbox/MsgBoxFields.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Program
{
    QStringList lines;
    QString message;     // what BASIC shows
    qsizetype lastSet;   // the line that last sets the variable the call reads
    QString variable;    // that variable
    qsizetype callLine;
};

// A text expression and its value, built side by side.
std::pair<QString, QString> expression(QRandomGenerator &random, const QHash<QString, QString> &variables)
{
    QStringList parts;
    QString value;
    const int terms = 1 + random.bounded(3);
    for (int k = 0; k < terms; ++k) {
        switch (random.bounded(variables.isEmpty() ? 3 : 5)) {
        case 0: {
            static const QStringList words{u"Hello"_s, u"a \"quote\""_s, u"été"_s, u"😀"_s, u""_s, u"x:y"_s, u"' no comment"_s};
            const QString word = words.at(random.bounded(words.size()));
            parts << u'"' + QString(word).replace(u"\""_s, u"\"\""_s) + u'"';
            value += word;
            break;
        }
        case 1:
            parts << u"vbCrLf"_s;
            value += u"\r\n"_s;
            break;
        case 2: {
            const int code = 65 + random.bounded(26);
            parts << u"Chr(%1)"_s.arg(code);
            value += QChar(code);
            break;
        }
        default: {
            const QList<QString> names = variables.keys();
            const QString name = names.at(random.bounded(names.size()));
            parts << name;
            value += variables.value(name);
        }
        }
    }
    return {parts.join(random.bounded(2) ? u" & "_s : u" + "_s), value};
}

Program straightLine(QRandomGenerator &random)
{
    Program program;
    QHash<QString, QString> variables;
    QHash<QString, qsizetype> setOn;
    const bool procedure = random.bounded(2);
    if (procedure)
        program.lines << u"Private Sub Form_Load()"_s;
    const int statements = 1 + random.bounded(8);
    for (int k = 0; k < statements; ++k) {
        const QString name = u"s%1"_s.arg(random.bounded(4));
        // Only a procedure's own declared texts are followed.
        static const QStringList declarations{u"Dim %1 As String"_s, u"Dim %1"_s, u"Dim %1 As Variant"_s};
        if (!variables.contains(name))
            program.lines << declarations.at(random.bounded(declarations.size())).arg(name);
        auto [text, value] = expression(random, variables);
        program.lines << u"%1 = %2"_s.arg(name, text);
        variables.insert(name, value);
        setOn.insert(name, program.lines.size() - 1);
        if (random.bounded(3) == 0)
            program.lines << u"n = %1 ' unrelated"_s.arg(k);
    }
    const QList<QString> names = variables.keys();
    program.variable = names.at(random.bounded(names.size()));
    program.lastSet = setOn.value(program.variable);
    program.message = variables.value(program.variable) + u"!"_s;
    program.callLine = program.lines.size();
    program.lines << (random.bounded(2) ? u"MsgBox %1 & \"!\", vbOKOnly"_s : u"r = MsgBox(%1 & \"!\")"_s).arg(program.variable);
    if (procedure)
        program.lines << u"End Sub"_s;
    return program;
}

} // namespace

class TestReadProperty : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void straightLineReads()
    {
        QRandomGenerator random(2101);
        for (int round = 0; round < 500; ++round) {
            const Program program = straightLine(random);
            const QString code = program.lines.join(random.bounded(2) ? u"\r\n"_s : u"\n"_s);
            const ReadResult result = readCode(code, tools());
            QVERIFY2(result.ok(), qPrintable(code + u"\n=> "_s + (result.ok() ? QString() : result.error->text())));
            QCOMPARE(result.fieldsAs<MsgBoxFields>().message, program.message);
        }
    }

    void anythingThatMaySkipOrRepeatIsRefused()
    {
        QRandomGenerator random(2102);
        for (int round = 0; round < 500; ++round) {
            Program program = straightLine(random);
            QStringList &lines = program.lines;
            const qsizetype at = program.lastSet;
            const QString set = lines.at(at);
            const QString v = program.variable;
            QString what;
            switch (random.bounded(9)) {
            case 0:
                what = u"If block"_s;
                lines[at] = u"If n > 1 Then\r\n"_s + set + u"\r\nEnd If"_s;
                break;
            case 1:
                what = u"one-line If"_s;
                lines[at] = u"If n > 1 Then "_s + set;
                break;
            case 2:
                what = u"loop"_s;
                lines[at] = u"For i = 1 To 2\r\n"_s + set + u"\r\nNext"_s;
                break;
            case 3:
                what = u"label"_s;
                lines.insert(program.callLine, u"Again:"_s);
                break;
            case 4:
                what = u"procedure boundary"_s;
                lines.insert(program.callLine, u"End Sub\r\nSub Other()"_s);
                break;
            case 5:
                what = u"ByRef call"_s;
                lines.insert(program.callLine, u"Call Change(%1)"_s.arg(v));
                break;
            case 6:
                what = u"Mid statement"_s;
                lines.insert(program.callLine, u"Mid(%1, 1, 1) = \"X\""_s.arg(v));
                break;
            case 7:
                what = u"Select Case"_s;
                lines[at] = u"Select Case n\r\nCase 1\r\n"_s + set + u"\r\nEnd Select"_s;
                break;
            default:
                what = u"Line Input"_s;
                lines.insert(program.callLine, u"Line Input #1, %1"_s.arg(v));
                break;
            }
            const QString code = lines.join(u"\r\n"_s);
            const ReadResult result = readCode(code, tools());
            QVERIFY2(!result.ok(), qPrintable(what + u":\n"_s + code));
            // The refusal is at the call's line, where the name is read.
            QVERIFY2(result.error->message.contains(v) || result.error->message.contains(u"jump"_s),
                     qPrintable(what + u": "_s + result.error->text()));
        }
    }
};

QTEST_GUILESS_MAIN(TestReadProperty)
#include "tst_readproperty.moc"
