// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "cli/ToolOptions.h"
#include "support/GenerateRun.h"
#include "tools/header/HeaderCli.h"
#include "tools/header/HeaderGenerator.h"

#include <QBuffer>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(HeaderFields)

char *toString(const HeaderFields &f)
{
    return QTest::toString(QStringList{f.project, f.program, f.version, f.date, f.copyright, f.description});
}

namespace {

const QString rule = u"'*******************************************************************************"_s;
const QString copyright2026 = u"Copyright \u00a9 2026"_s;

} // namespace

class TestHeaderGenerator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void block_data();
    void block();
    void dateDefaults_data();
    void dateDefaults();
    void optionsOverTheStartUpState_data();
    void optionsOverTheStartUpState();
    void lineBreakInAnOptionIsRefused();
};

void TestHeaderGenerator::block_data()
{
    QTest::addColumn<HeaderFields>("fields");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("payroll")
        << HeaderFields{u"Payroll"_s, u"PAYCALC"_s, u"1.2"_s, u"12/06/2026"_s, copyright2026, u"Monthly run"_s}
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
        << HeaderFields{u"  Pay roll "_s, u"\"Q\" 'x'"_s, QString(200, u'v'), u"next week"_s, QString(), u"\t€ 𝄞"_s}
        << QStringList{rule,
                       u"' Project:        Pay roll "_s,
                       u"' Program:      \"Q\" 'x'"_s,
                       u"' Version:      "_s + QString(200, u'v'),
                       u"' Date:         next week"_s,
                       u"' Copyright:    "_s,
                       u"' Description:  \t€ 𝄞"_s,
                       rule};
}

void TestHeaderGenerator::block()
{
    QFETCH(HeaderFields, fields);
    QFETCH(QStringList, lines);
    QCOMPARE(rule.size(), 80);
    QCOMPARE(header::generateHeaderBlock(fields), lines.join(u"\r\n"_s));
}

void TestHeaderGenerator::dateDefaults_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("todayText");
    QTest::addColumn<QString>("copyright");
    QTest::newRow("day.month.year") << QDate(2026, 12, 6) << u"06.12.2026"_s << copyright2026;
    QTest::newRow("new year's day") << QDate(2027, 1, 1) << u"1/1/27"_s << u"Copyright \u00a9 2027"_s;
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
    QTest::newRow("none: the start-up state")
        << QStringList{} << HeaderFields{QString(), QString(), QString(), u"6.12.26"_s, copyright2026, QString()};
    QTest::newRow("date given, copyright defaulted")
        << QStringList{u"--date"_s, u"soon"_s}
        << HeaderFields{QString(), QString(), QString(), u"soon"_s, copyright2026, QString()};
    QTest::newRow("every field, an empty copyright")
        << QStringList{u"--project"_s, u"a"_s,  u"--program"_s,     u"b"_s,   u"--version"_s, u"c"_s,
                       u"--date"_s,    u"d"_s,  u"--copyright="_s, u"--description"_s, u" f "_s}
        << HeaderFields{u"a"_s, u"b"_s, u"c"_s, u"d"_s, QString(), u" f "_s};
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

void TestHeaderGenerator::lineBreakInAnOptionIsRefused()
{
    const GenerateRun run = runGenerate(u"header"_s, {u"--description"_s, u"one\ntwo"_s});
    QCOMPARE(run.status, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains(u"--description"_s), qPrintable(run.err));
}

QTEST_GUILESS_MAIN(TestHeaderGenerator)
#include "tst_headergenerator.moc"
