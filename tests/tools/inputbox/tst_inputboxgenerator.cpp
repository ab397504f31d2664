// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "support/GenerateRun.h"
#include "tools/inputbox/InputBoxGenerator.h"

#include <QBuffer>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(InputBoxFields)

class TestInputBoxGenerator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void generate_data();
    void generate();
    void commandLineRejects_data();
    void commandLineRejects();
};

void TestInputBoxGenerator::generate_data()
{
    QTest::addColumn<InputBoxFields>("fields");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("dimLine");

    QTest::newRow("start-up state") << InputBoxFields{} << u"Response = InputBox (\"\", \"\", \"\")"_s << QString();

    InputBoxFields example;
    example.declareVariable = true;
    example.message = u"Enter your name"_s;
    example.title = u"Name"_s;
    example.help = {.help = true, .appPath = true, .helpFile = u"\\myapp.hlp"_s, .topicId = u"12"_s};
    QTest::newRow("help with App.Path")
        << example
        << u"Response = InputBox (\"Enter your name\", \"Name\", \"\", , , App.Path & \"\\myapp.hlp\", 12)"_s
        << u"Dim Response as String"_s;

    InputBoxFields help;
    help.help = {.help = true, .appPath = false, .helpFile = u"my.hlp"_s, .topicId = u" 42abc"_s};
    QTest::newRow("help") << help << u"Response = InputBox (\"\", \"\", \"\", , , \"my.hlp\", 42)"_s << QString();

    InputBoxFields emptyHelp;
    emptyHelp.help = {.help = true, .appPath = false, .helpFile = {}, .topicId = {}};
    QTest::newRow("empty help file and topic")
        << emptyHelp << u"Response = InputBox (\"\", \"\", \"\", , , \"\", 0)"_s << QString();

    InputBoxFields helpOff;
    helpOff.help = {.help = false, .appPath = true, .helpFile = u"kept.hlp"_s, .topicId = u"9"_s};
    QTest::newRow("help values unread while off") << helpOff << u"Response = InputBox (\"\", \"\", \"\")"_s << QString();

    InputBoxFields quotes;
    quotes.title = u"Say \"hi\""_s;
    quotes.defaultAnswer = u"\"x\""_s;
    quotes.message = u"Line \"1\"\r\nLine 2"_s;
    quotes.help = {.help = true, .appPath = false, .helpFile = u"a\"b.hlp"_s, .topicId = u"&H10"_s};
    QTest::newRow("quotation marks")
        << quotes
        << u"Response = InputBox (\"Line \" & Chr(34) & \"1\" & Chr(34) & \"\" & vbCrLf & \"Line 2\", "
           "\"Say \"\"hi\"\"\", \"\"\"x\"\"\", , , \"a\"\"b.hlp\", 16)"_s
        << QString();

    InputBoxFields noName;
    noName.variableName.clear();
    noName.declareVariable = true;
    QTest::newRow("empty variable name") << noName << u" = InputBox (\"\", \"\", \"\")"_s << u"Dim  as String"_s;

    InputBoxFields asTyped;
    asTyped.variableName = u"sAnswer$ "_s;
    asTyped.title = u"  padded  "_s;
    asTyped.declareVariable = true;
    QTest::newRow("texts as they stand") << asTyped << u"sAnswer$  = InputBox (\"\", \"  padded  \", \"\")"_s
                                         << u"Dim sAnswer$  as String"_s;
}

void TestInputBoxGenerator::generate()
{
    QFETCH(InputBoxFields, fields);
    QFETCH(QString, statement);
    QFETCH(QString, dimLine);
    QStringList lines{u"'*** Begin Askwright Code ***"_s};
    if (!dimLine.isEmpty())
        lines << dimLine;
    lines << statement << u"'*** End Askwright Code ***"_s;
    QCOMPARE(generateInputBox(fields), lines.join(u"\r\n"_s));
}

void TestInputBoxGenerator::commandLineRejects_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("message");
    QTest::newRow("help file without help button")
        << QStringList{u"--help-file"_s, u"a.hlp"_s} << u"--help-file needs --help-button"_s;
    QTest::newRow("help options without help button")
        << QStringList{u"--app-path"_s, u"--topic"_s, u"3"_s}
        << u"--app-path, --topic need --help-button"_s;
    QTest::newRow("line break in the variable") << QStringList{u"--variable"_s, u"a\nb"_s} << u"--variable"_s;
}

void TestInputBoxGenerator::commandLineRejects()
{
    QFETCH(QStringList, options);
    QFETCH(QString, message);
    const GenerateRun run = runGenerate(u"inputbox"_s, options);
    QCOMPARE(run.status, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
}

QTEST_GUILESS_MAIN(TestInputBoxGenerator)
#include "tst_inputboxgenerator.moc"
