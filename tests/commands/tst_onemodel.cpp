// SPDX-License-Identifier: GPL-3.0-or-later
// `read`, `fix` and the language server decide a module's dialect by one
// rule and find a call's arguments by one model: what `fix` names is the
// very call `read` reads, in the names of the dialect `read` finds.
#include "app/Tools.h"
#include "reader/CodeReader.h"
#include "reader/ResultJson.h"
#include "support/GenerateRun.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace Qt::StringLiterals;

class TestOneModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fixWritesWhatReadReads_data();
    void fixWritesWhatReadReads();
};

void TestOneModel::fixWritesWhatReadReads_data()
{
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("dialect");
    QTest::addColumn<QString>("fixed");

    QTest::newRow("Visual Basic, a function call")
        << u"Sub A()\r\n    If MsgBox(\"Delete?\", 36, \"Records\") = 6 Then Beep\r\nEnd Sub\r\n"_s << u"vb"_s
        << u"Sub A()\r\n    If MsgBox(\"Delete?\", vbYesNo + vbQuestion, \"Records\") = vbYes Then Beep\r\nEnd Sub\r\n"_s;
    // LibreOffice's code tells: its numbers get LibreOffice's names, where
    // Visual Basic's would be empty variables.
    QTest::newRow("LibreOffice by its code")
        << u"Sub A\n    d = ThisComponent\n    r = MsgBox(\"Sure?\", MB_YESNO + 32)\nEnd Sub\n"_s << u"libreoffice"_s
        << u"Sub A\n    d = ThisComponent\n    r = MsgBox(\"Sure?\", MB_YESNO + MB_ICONQUESTION)\nEnd Sub\n"_s;
    // Its names alone do not: Visual Basic code may declare MB_YESNO in
    // another module, where MB_ICONQUESTION written beside it is nothing.
    QTest::newRow("LibreOffice's names alone")
        << u"Sub A\n    r = MsgBox(\"Sure?\", MB_YESNO + 32)\nEnd Sub\n"_s << u"libreoffice"_s << QString();
    // The parentheses hold the first argument only: the buttons are the 4.
    QTest::newRow("a statement with its message in parentheses")
        << u"MsgBox (\"Hi\"), 4 + 48\r\n"_s << u"vb"_s << u"MsgBox (\"Hi\"), vbYesNo + vbExclamation\r\n"_s;
    QTest::newRow("named arguments") << u"x = MsgBox(Title:=\"T\", Buttons:=1, Prompt:=\"P\")\r\n"_s << u"vb"_s
                                     << u"x = MsgBox(Title:=\"T\", Buttons:=vbOKCancel, Prompt:=\"P\")\r\n"_s;
    QTest::newRow("Call") << u"Call MsgBox(\"Gone\", 64)\r\n"_s << u"vb"_s
                          << u"Call MsgBox(\"Gone\", vbInformation)\r\n"_s;
}

void TestOneModel::fixWritesWhatReadReads()
{
    QFETCH(QString, module);
    QFETCH(QString, dialect);
    QFETCH(QString, fixed);

    const ReadResult read = readCode(module, tools());
    QVERIFY2(read.ok(), qPrintable(read.error ? read.error->text() : QString()));
    QCOMPARE(basic::dialectName(read.code.dialect), dialect);
    QCOMPARE(basic::dialectName(moduleDialect(module, tools(), std::nullopt)), dialect);

    const Run run = ::run({u"fix"_s, u"-"_s}, module.toUtf8());
    QCOMPARE(run.status, 0);
    if (fixed.isEmpty()) {
        QCOMPARE(QString::fromUtf8(run.out), module);
        QVERIFY2(run.err.contains(", 1 note"), run.err.constData());
        return;
    }
    QCOMPARE(QString::fromUtf8(run.out), fixed);

    // The named code reads into the same call, with names.
    const ReadResult again = readCode(fixed, tools());
    QVERIFY(again.ok());
    QJsonObject before = readResultJson(read);
    QJsonObject after = readResultJson(again);
    QCOMPARE(after.value(u"constants"_s).toString(), u"names"_s);
    before.remove(u"constants"_s);
    after.remove(u"constants"_s);
    QCOMPARE(after, before);
}

QTEST_GUILESS_MAIN(TestOneModel)
#include "tst_onemodel.moc"
