// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "support/GenerateRun.h"
#include "tools/msgbox/MsgBoxGenerator.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(MsgBoxFields)

namespace {

MsgBoxFields box(const QString &message, const QString &title, MsgBoxStyleValues style, HelpFields help = {})
{
    return {message, title, style, help};
}

} // namespace

class TestMsgBoxGenerator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void callLine_data();
    void callLine();
    void caseCodesFollowTheButtonSet_data();
    void caseCodesFollowTheButtonSet();
    void commandLineErrors_data();
    void commandLineErrors();
    void responseSelect_data();
    void responseSelect();
};

void TestMsgBoxGenerator::callLine_data()
{
    QTest::addColumn<MsgBoxFields>("fields");
    QTest::addColumn<QString>("expected");

    QTest::newRow("App.Path adds no separator") << box({}, {}, {}, {true, true, u"help.hlp"_s, u"0"_s})
                                                << u"Msgbox \"\", 16384, \"\", App.Path & \"help.hlp\", 0"_s;
    QTest::newRow("App.Path without help is ignored")
        << box({}, {}, {}, {false, true, u"help.hlp"_s, u"5"_s}) << u"Msgbox \"\", 0, \"\""_s;
    QTest::newRow("empty help file and topic")
        << box({}, {}, {}, {true, false, {}, {}}) << u"Msgbox \"\", 16384, \"\", \"\", 0"_s;
    QTest::newRow("topic read by Val: blanks, trailing letters")
        << box({}, {}, {}, {true, false, u"h"_s, u"  4 2abc"_s}) << u"Msgbox \"\", 16384, \"\", \"h\", 42"_s;
    QTest::newRow("topic that is not a number")
        << box({}, {}, {}, {true, false, u"h"_s, u"intro"_s}) << u"Msgbox \"\", 16384, \"\", \"h\", 0"_s;
    QTest::newRow("every flag") << box({}, {}, {vbYesNoCancel, vbDefaultButton3, vbCritical, vbSystemModal},
                                       {true, false, {}, u"0"_s})
                                << u"Response = Msgbox (\"\", 21011, \"\", \"\", 0)"_s;
    // Quotation marks inside single-line texts are doubled so that the line
    // compiles; the message keeps its own encoding.
    QTest::newRow("quoted title and help file") << box({}, u"Say \"hi\""_s, {}, {true, false, u"a\"b.hlp"_s, u"1"_s})
                                                << u"Msgbox \"\", 16384, \"Say \"\"hi\"\"\", \"a\"\"b.hlp\", 1"_s;
    QTest::newRow("message with empty line and quote at line end")
        << box(u"A\"\r\n\r\nB"_s, {}, {})
        << u"Msgbox \"A\" & Chr(34) & \"\" & vbCrLf & \"\" & vbCrLf & \"B\", 0, \"\""_s;
}

void TestMsgBoxGenerator::callLine()
{
    QFETCH(MsgBoxFields, fields);
    QFETCH(QString, expected);
    const QStringList lines = generateMsgBoxCode(fields).split(u"\r\n"_s);
    QCOMPARE(lines.value(fields.style.buttonSet == vbOKOnly ? 1 : 2), expected);
}

void TestMsgBoxGenerator::caseCodesFollowTheButtonSet_data()
{
    QTest::addColumn<int>("buttonSet");
    QTest::addColumn<QString>("cases");
    QTest::newRow("OK, Cancel") << int(vbOKCancel) << u"1 2"_s;
    QTest::newRow("Abort, Retry, Ignore") << int(vbAbortRetryIgnore) << u"3 4 5"_s;
    QTest::newRow("Yes, No, Cancel") << int(vbYesNoCancel) << u"6 7 2"_s;
    QTest::newRow("Yes, No") << int(vbYesNo) << u"6 7"_s;
    QTest::newRow("Retry, Cancel") << int(vbRetryCancel) << u"4 2"_s;
}

void TestMsgBoxGenerator::caseCodesFollowTheButtonSet()
{
    QFETCH(int, buttonSet);
    QFETCH(QString, cases);
    const QString code = generateMsgBoxCode(box({}, {}, {buttonSet, 0, 0, 0}));
    QStringList found;
    for (const QRegularExpressionMatch &match : QRegularExpression(u"\r\n  Case (\\d)  '"_s).globalMatch(code))
        found << match.captured(1);
    QCOMPARE(found.join(u' '), cases);
    QVERIFY(code.startsWith(u"'*** Start Notewright Code ***\r\nDim Response As Long\r\nResponse = Msgbox ("_s));
    QVERIFY(code.endsWith(u"\r\nEnd Select\r\n'*** End Notewright Code ***"_s));
}

void TestMsgBoxGenerator::commandLineErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("second button of OK alone") << QStringList{u"--default"_s, u"2"_s} << u"--default"_s;
    QTest::newRow("third button of a pair")
        << QStringList{u"--default"_s, u"3"_s, u"--buttons"_s, u"okcancel"_s} << u"okcancel"_s;
    QTest::newRow("no fourth button") << QStringList{u"--buttons"_s, u"yesnocancel"_s, u"--default"_s, u"4"_s}
                                      << u"--default"_s;
    QTest::newRow("unknown icon") << QStringList{u"--icon"_s, u"stop"_s} << u"stop"_s;
    QTest::newRow("help details without the button")
        << QStringList{u"--app-path"_s, u"--topic"_s, u"3"_s, u"--help-file"_s, u"a"_s}
        << u"--help-file, --app-path, --topic"_s;
    QTest::newRow("title with a line break") << QStringList{u"--title"_s, u"a\nb"_s} << u"--title"_s;
}

void TestMsgBoxGenerator::commandLineErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mentions);
    const GenerateRun run = runGenerate(u"msgbox"_s, arguments);
    QCOMPARE(run.status, 2);
    QCOMPARE(run.out, QString());
    const QString message = usageMessage(run, u"msgbox"_s);
    QVERIFY2(message.contains(mentions), qPrintable(run.err));
}

void TestMsgBoxGenerator::responseSelect_data()
{
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("yes no") << QList<int>{6, 7}
                            << QStringList{u"Select Case Response"_s,        u"  Case 6  'User has clicked Yes"_s,
                                           u"    '*** Your Code Here ***"_s, u"  Case 7  'User has clicked No"_s,
                                           u"    '*** Your Code Here ***"_s, u"End Select"_s};
    QTest::newRow("abort retry ignore") << QList<int>{
        3, 4, 5} << QStringList{u"Select Case Response"_s,        u"  Case 3  'User has clicked Abort"_s,
                                u"    '*** Your Code Here ***"_s, u"  Case 4  'User has clicked retry"_s,
                                u"    '*** Your Code Here ***"_s, u"  Case 5  'User has clicked Ignore"_s,
                                u"    '*** Your Code Here ***"_s, u"End Select"_s};
    QTest::newRow("retry cancel, names") << QList<int>{
        4, 2} << QStringList{u"Select Case Response"_s,        u"  Case vbRetry  'User has clicked retry"_s,
                             u"    '*** Your Code Here ***"_s, u"  Case vbCancel  'User has clicked Cancel"_s,
                             u"    '*** Your Code Here ***"_s, u"End Select"_s};
    QTest::newRow("ok cancel") << QList<int>{1, 2}
                               << QStringList{u"Select Case Response"_s,        u"  Case 1  'User has clicked OK"_s,
                                              u"    '*** Your Code Here ***"_s, u"  Case 2  'User has clicked Cancel"_s,
                                              u"    '*** Your Code Here ***"_s, u"End Select"_s};
}

void TestMsgBoxGenerator::responseSelect()
{
    QFETCH(QList<int>, codes);
    QFETCH(QStringList, lines);
    const bool names = QByteArray(QTest::currentDataTag()).endsWith(", names");
    codegen::CodeOptions options;
    options.constants = names ? codegen::CodeOptions::Constants::Names : codegen::CodeOptions::Constants::Numbers;
    const QString block = ::responseSelect(codes, options);
    QCOMPARE(block, lines.join(u"\r\n"_s));
    QVERIFY(!block.startsWith(u"\r\n"_s) && !block.endsWith(u"\r\n"_s));
}

QTEST_GUILESS_MAIN(TestMsgBoxGenerator)
#include "tst_msgboxgenerator.moc"
