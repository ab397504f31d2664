// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/Names.h"

#include <QTest>

using namespace Qt::StringLiterals;
using basic::Dialect;

class TestNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buttonsNames_data();
    void buttonsNames();
    void buttonsNamesAddUpToTheValue();
    void resultNames();
    void dialectNames();
};

void TestNames::buttonsNames_data()
{
    QTest::addColumn<qint32>("value");
    QTest::addColumn<Dialect>("dialect");
    QTest::addColumn<QString>("names");
    const Dialect vb = Dialect::VisualBasic;
    const Dialect lo = Dialect::LibreOffice;
    QTest::newRow("OK alone") << 0 << vb << u"vbOKOnly"_s;
    QTest::newRow("OK alone, LibreOffice") << 0 << lo << u"MB_OK"_s;
    QTest::newRow("an icon alone") << 16 << vb << u"vbCritical"_s;
    QTest::newRow("system-modal alone") << 4096 << vb << u"vbSystemModal"_s;
    QTest::newRow("every group") << 3 + 32 + 512 + 4096 + 16384 << vb
                                 << u"vbYesNoCancel + vbQuestion + vbDefaultButton3 + vbSystemModal + vbMsgBoxHelpButton"_s;
    QTest::newRow("every group, LibreOffice") << 3 + 32 + 512 + 4096 << lo
                                              << u"MB_YESNOCANCEL + MB_ICONQUESTION + MB_DEFBUTTON3 + MB_SYSTEMMODAL"_s;
    QTest::newRow("flags without an option")
        << 4 + 65536 + 524288 + 1048576 << vb << u"vbYesNo + vbMsgBoxSetForeground + vbMsgBoxRight + vbMsgBoxRtlReading"_s;
    // What a dialect has no name for stays a number, and says nothing of the
    // button set.
    QTest::newRow("a fourth default button in LibreOffice") << 768 << lo << u"MB_OK + 768"_s;
    QTest::newRow("Help in LibreOffice") << 4 + 16384 << lo << u"MB_YESNO + 16384"_s;
    QTest::newRow("an icon of no name") << 128 << vb << u"vbOKOnly + 128"_s;
    QTest::newRow("a button set of no name") << 6 + 16 << vb << u"6 + vbCritical"_s;
    QTest::newRow("a bit of no group") << 8192 << vb << u"vbOKOnly + 8192"_s;
}

void TestNames::buttonsNames()
{
    QFETCH(qint32, value);
    QFETCH(Dialect, dialect);
    QFETCH(QString, names);
    QCOMPARE(basic::buttonsNames(value, dialect), names);
}

// Whatever the value, its names are the dialect's own and add up to it, so
// that code written with them does what the number did.
void TestNames::buttonsNamesAddUpToTheValue()
{
    const QList<qint32> parts{0, 1, 5, 7, 16, 64, 80, 256, 768, 4096, 8192, 16384, 65536, 524288, 1048576, 1 << 22};
    for (const Dialect dialect : {Dialect::VisualBasic, Dialect::LibreOffice}) {
        for (const qint32 a : parts) {
            for (const qint32 b : parts) {
                const qint32 value = a | b;
                const QString written = basic::buttonsNames(value, dialect);
                qint64 sum = 0;
                for (const QString &term : written.split(u" + "_s)) {
                    bool number = false;
                    const qint32 n = term.toInt(&number);
                    if (number) {
                        sum += n;
                        continue;
                    }
                    const basic::BasicName *name = basic::findName(term);
                    QVERIFY2(name && name->dialect == dialect, qPrintable(written));
                    sum += name->value;
                }
                QVERIFY2(sum == value, qPrintable(u"%1: %2"_s.arg(value).arg(written)));
            }
        }
    }
}

void TestNames::resultNames()
{
    QCOMPARE(basic::resultName(6, Dialect::VisualBasic), u"vbYes"_s);
    QCOMPARE(basic::resultName(2, Dialect::LibreOffice), u"IDCANCEL"_s);
    QCOMPARE(basic::resultName(8, Dialect::VisualBasic), u"8"_s);
    QCOMPARE(basic::resultName(6, Dialect::Gambas), u"6"_s);
}

void TestNames::dialectNames()
{
    QCOMPARE(basic::dialectNames(), (QStringList{u"vb"_s, u"libreoffice"_s, u"gambas"_s}));
    for (const QString &name : basic::dialectNames())
        QCOMPARE(basic::dialectName(*basic::dialectFromName(name)), name);
    // Names are written one way only.
    QVERIFY(!basic::dialectFromName(u"VB"));
    QVERIFY(!basic::dialectFromName(u""));
}

QTEST_APPLESS_MAIN(TestNames)
#include "tst_names.moc"
