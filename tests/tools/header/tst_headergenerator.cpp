#include "app/CommandLine.h"
#include "tools/header/HeaderCli.h"
#include "tools/header/HeaderGenerator.h"

#include <QBuffer>
#include <QLocale>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(HeaderFields)

char *toString(const HeaderFields &f)
{
    return QTest::toString(QStringList{f.project, f.program, f.version, f.date, f.copyright, f.description});
}

namespace {

const QString rule = u"'*******************************************************************************"_s;

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

Run generateHeader(const QStringList &options)
{
    QBuffer out, err, in;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    in.open(QIODevice::ReadOnly);
    Run run;
    run.status = runCommandLine(QStringList{u"quillkit98"_s, u"generate"_s, u"header"_s} + options, out, err, in);
    run.out = QString::fromUtf8(out.data());
    run.err = QString::fromUtf8(err.data());
    return run;
}

} // namespace

class TestHeaderGenerator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void block_data();
    void block();
    void blockShape_data();
    void blockShape();
    void dateDefaults_data();
    void dateDefaults();
    void optionsOverTheStartUpState_data();
    void optionsOverTheStartUpState();
    void commandLinePrintsTheBlock();
    void commandLineRejectsLineBreaks_data();
    void commandLineRejectsLineBreaks();
};

void TestHeaderGenerator::block_data()
{
    QTest::addColumn<HeaderFields>("fields");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("payroll") << HeaderFields{u"Payroll"_s,    u"PAYCALC"_s,          u"1.2"_s,
                                             u"12/06/2026"_s, u"Copyright © 2026"_s, u"Monthly run"_s}
                             << QStringList{rule,
                                            u"' Project:      Payroll"_s,
                                            u"' Program:      PAYCALC"_s,
                                            u"' Version:      1.2"_s,
                                            u"' Date:         12/06/2026"_s,
                                            u"' Copyright:    Copyright \u00a9 2026"_s,
                                            u"' Description:  Monthly run"_s,
                                            rule};
    QTest::newRow("all empty keeps the blanks")
        << HeaderFields{} << QStringList{rule,          u"' Project:      "_s, u"' Program:      "_s,
                                         u"' Version:      "_s, u"' Date:         "_s, u"' Copyright:    "_s,
                                         u"' Description:  "_s, rule};
    // A comment needs no escaping: quotation marks and apostrophes stay single.
    QTest::newRow("as typed, untrimmed")
        << HeaderFields{u"  Pay roll "_s, u"\"Q\" 'x'"_s, u"&H10"_s, u"next week"_s, QString(), u"\t€ 𝄞"_s}
        << QStringList{rule,
                       u"' Project:        Pay roll "_s,
                       u"' Program:      \"Q\" 'x'"_s,
                       u"' Version:      &H10"_s,
                       u"' Date:         next week"_s,
                       u"' Copyright:    "_s,
                       u"' Description:  \t€ 𝄞"_s,
                       rule};
}

void TestHeaderGenerator::block()
{
    QFETCH(HeaderFields, fields);
    QFETCH(QStringList, lines);
    QCOMPARE(header::generateHeaderBlock(fields), lines.join(u"\r\n"_s));
}

void TestHeaderGenerator::blockShape_data()
{
    QTest::addColumn<HeaderFields>("fields");
    QTest::newRow("empty") << HeaderFields{};
    QTest::newRow("long values") << HeaderFields{QString(200, u'p'), u"b"_s, u"c"_s, u"d"_s, u"e"_s, u"f"_s};
}

void TestHeaderGenerator::blockShape()
{
    QFETCH(HeaderFields, fields);
    const QString block = header::generateHeaderBlock(fields);
    QVERIFY(!block.endsWith(u'\n') && !block.endsWith(u'\r'));
    const QStringList lines = block.split(u"\r\n"_s);
    QCOMPARE(lines.size(), 8);
    QCOMPARE(lines.first().size(), 80);
    QCOMPARE(lines.last(), lines.first());
    QVERIFY(!lines.first().mid(1).contains(QRegularExpression(u"[^*]"_s)));
    // Every value starts at the 17th character.
    const QStringList values{fields.project, fields.program,   fields.version,
                             fields.date,    fields.copyright, fields.description};
    for (int i = 0; i < 6; ++i) {
        QVERIFY(lines.at(i + 1).startsWith(u"' "_s));
        QCOMPARE(lines.at(i + 1).mid(16), values.at(i));
    }
}

void TestHeaderGenerator::dateDefaults_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("todayText");
    QTest::addColumn<QString>("copyright");
    QTest::newRow("day.month.year") << QDate(2026, 12, 6) << u"06.12.2026"_s << u"Copyright \u00a9 2026"_s;
    QTest::newRow("two-digit year text") << QDate(1999, 1, 31) << u"1/31/99"_s << u"Copyright \u00a9 1999"_s;
    QTest::newRow("new year's day") << QDate(2027, 1, 1) << u"2027-01-01"_s << u"Copyright \u00a9 2027"_s;
}

void TestHeaderGenerator::dateDefaults()
{
    QFETCH(QDate, today);
    QFETCH(QString, todayText);
    QFETCH(QString, copyright);
    HeaderFields fields{u"p"_s, u"q"_s, u"v"_s, u"old date"_s, u"old copyright"_s, u"d"_s};
    header::applyDateDefaults(fields, today, todayText);
    QCOMPARE(fields, (HeaderFields{u"p"_s, u"q"_s, u"v"_s, todayText, copyright, u"d"_s}));
}

void TestHeaderGenerator::optionsOverTheStartUpState_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<HeaderFields>("fields");
    const QString copyright = u"Copyright \u00a9 2026"_s;
    QTest::newRow("none: the start-up state")
        << QStringList{} << HeaderFields{QString(), QString(), QString(), u"6.12.26"_s, copyright, QString()};
    QTest::newRow("date given, copyright default stays")
        << QStringList{u"--date"_s, u"soon"_s}
        << HeaderFields{QString(), QString(), QString(), u"soon"_s, copyright, QString()};
    QTest::newRow("empty copyright is given, not defaulted")
        << QStringList{u"--copyright="_s, u"--project"_s, u"P"_s}
        << HeaderFields{u"P"_s, QString(), QString(), u"6.12.26"_s, QString(), QString()};
    QTest::newRow("every field")
        << QStringList{u"--project"_s,   u"a"_s, u"--program"_s,   u"b"_s, u"--version"_s,     u"c"_s,
                       u"--date"_s,      u"d"_s, u"--copyright"_s, u"e"_s, u"--description"_s, u" f "_s}
        << HeaderFields{u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s, u" f "_s};
}

void TestHeaderGenerator::optionsOverTheStartUpState()
{
    QFETCH(QStringList, options);
    QFETCH(HeaderFields, fields);
    QCommandLineParser parser;
    QBuffer none;
    ToolOptions toolOptions(parser, none);
    headerCli().declare(toolOptions);
    QVERIFY2(parser.parse(QStringList{u"quillkit98"_s} + options), qPrintable(parser.errorText()));
    QCOMPARE(headerFieldsFromOptions(toolOptions, QDate(2026, 12, 6), u"6.12.26"_s), fields);
}

void TestHeaderGenerator::commandLinePrintsTheBlock()
{
    // Without --date and --copyright the defaults are today's, converted as
    // the window converts them.
    const QDate today = QDate::currentDate();
    const Run run = generateHeader({u"--project"_s, u"Payroll"_s, u"--description"_s, u"Monthly run"_s});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QString());
    const QString todayText = QLocale::system().toString(today, QLocale::ShortFormat);
    HeaderFields fields{u"Payroll"_s, QString(), QString(), QString(), QString(), u"Monthly run"_s};
    header::applyDateDefaults(fields, today, todayText);
    QCOMPARE(run.out, header::generateHeaderBlock(fields));
    QVERIFY(run.out.contains(u"' Copyright:    Copyright \u00a9 "_s + QString::number(today.year()) + u"\r\n"_s));
}

void TestHeaderGenerator::commandLineRejectsLineBreaks_data()
{
    QTest::addColumn<QString>("option");
    for (const char *option : {"project", "program", "version", "date", "copyright", "description"})
        QTest::newRow(option) << QString::fromLatin1(option);
}

void TestHeaderGenerator::commandLineRejectsLineBreaks()
{
    QFETCH(QString, option);
    const Run run = generateHeader({u"--"_s + option, u"one\ntwo"_s});
    QCOMPARE(run.status, 2);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.contains(u"--"_s + option), qPrintable(run.err));
}

QTEST_GUILESS_MAIN(TestHeaderGenerator)
#include "tst_headergenerator.moc"
