// SPDX-License-Identifier: GPL-3.0-or-later
#include "codegen/DateText.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestDateText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shortDateKeepsTheLocaleOrderWithAFullYear_data();
    void shortDateKeepsTheLocaleOrderWithAFullYear();
};

void TestDateText::shortDateKeepsTheLocaleOrderWithAFullYear_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("expected");

    QTest::newRow("en_US") << u"en_US"_s << QDate(2026, 12, 7) << u"12/7/2026"_s;
    QTest::newRow("de_DE") << u"de_DE"_s << QDate(2026, 12, 7) << u"07.12.2026"_s;
    QTest::newRow("en_GB") << u"en_GB"_s << QDate(2026, 12, 7) << u"07/12/2026"_s;
    // Already four digits: unchanged.
    QTest::newRow("sv_SE") << u"sv_SE"_s << QDate(2026, 12, 7) << u"2026-12-07"_s;
    // Early years keep all four digits, not a century guess.
    QTest::newRow("year 905") << u"en_US"_s << QDate(905, 1, 2) << u"1/2/0905"_s;
}

void TestDateText::shortDateKeepsTheLocaleOrderWithAFullYear()
{
    QFETCH(QString, locale);
    QFETCH(QDate, date);
    QFETCH(QString, expected);
    const QLocale qlocale(locale);
    QCOMPARE(codegen::shortDateText(date, qlocale), expected);
}

QTEST_APPLESS_MAIN(TestDateText)
#include "tst_datetext.moc"
