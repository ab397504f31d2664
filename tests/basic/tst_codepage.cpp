// SPDX-License-Identifier: GPL-3.0-or-later
// Named encodings: the same names, the same text and the same failures
// through iconv on Linux and the Windows code pages on Windows.

#include "basic/CodePage.h"

#include <QTest>

using namespace Qt::StringLiterals;
namespace codepage = basic::codepage;

class TestCodePage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("known");
        for (const QString &name : {u"windows-1251"_s, u"WINDOWS-1252"_s, u"CP1251"_s, u"cp437"_s, u"IBM850"_s,
                                    u"ISO-8859-5"_s, u"iso-8859-15"_s, u"ISO8859-2"_s, u"latin1"_s, u"KOI8-R"_s,
                                    u"SHIFT_JIS"_s, u"UTF-8"_s, u"utf-16le"_s, u"UTF-16BE"_s, u"UTF-16"_s,
                                    u"UTF-32LE"_s, u"ASCII"_s})
            QTest::newRow(qPrintable(name)) << name << true;
        for (const QString &name : {u"klingon"_s, u"windows-99999"_s, u"ISO-8859-99"_s, u"CP"_s})
            QTest::newRow(qPrintable(u"not "_s + name)) << name << false;
    }
    void names()
    {
        QFETCH(QString, name);
        QFETCH(bool, known);
        QCOMPARE(codepage::known(name), known);
    }

    void decodes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const QString pri = u"\u041F\u0440\u0438"_s;
        QTest::newRow("windows-1251") << u"windows-1251"_s << QByteArray("\xcf\xf0\xe8") << pri;
        QTest::newRow("ISO-8859-5") << u"ISO-8859-5"_s << QByteArray("\xbf\xe0\xd8") << pri;
        QTest::newRow("KOI8-R") << u"KOI8-R"_s << QByteArray("\xf0\xd2\xc9") << pri;
        QTest::newRow("CP437") << u"CP437"_s << QByteArray("\x81\x9c") << u"\u00FC\u00A3"_s;
        QTest::newRow("latin1") << u"latin1"_s << QByteArray("caf\xe9") << u"caf\u00E9"_s;
        QTest::newRow("SHIFT_JIS") << u"SHIFT_JIS"_s << QByteArray("a\x82\xa0") << u"a\u3042"_s;
        QTest::newRow("UTF-16LE") << u"UTF-16LE"_s << QByteArray("A\0\x3a\x04", 4) << u"A\u043A"_s;
        QTest::newRow("UTF-16BE pair") << u"UTF-16BE"_s << QByteArray("\xd8\x34\xdd\x1e", 4) << u"\U0001D11E"_s;
        QTest::newRow("UTF-16 marked little") << u"UTF-16"_s << QByteArray("\xff\xfe" "A\0", 4) << u"A"_s;
        QTest::newRow("UTF-32LE") << u"UTF-32LE"_s << QByteArray("\x1e\xd1\x01\0", 4) << u"\U0001D11E"_s;
        QTest::newRow("empty") << u"windows-1251"_s << QByteArray() << QString();
    }
    void decodes()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        qsizetype failedAt = -1;
        const std::optional<QString> decoded = codepage::decode(name, bytes, &failedAt);
        QVERIFY(decoded);
        QCOMPARE(*decoded, text);
    }

    // The first byte that is no text is named, as the user finds it.
    void failsAtTheFirstBadByte_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qsizetype>("at");
        QTest::newRow("UTF-8 stray byte") << u"UTF-8"_s << QByteArray("ab\xff" "cd") << qsizetype(2);
        QTest::newRow("UTF-8 cut short") << u"UTF-8"_s << QByteArray("abc\xe2\x82") << qsizetype(3);
        QTest::newRow("SHIFT_JIS cut short") << u"SHIFT_JIS"_s << QByteArray("a\x82\xa0\x82") << qsizetype(3);
        QTest::newRow("UTF-16LE odd length") << u"UTF-16LE"_s << QByteArray("A\0B", 3) << qsizetype(2);
        QTest::newRow("UTF-16LE lone surrogate") << u"UTF-16LE"_s << QByteArray("A\0\x34\xd8" "B\0", 6)
                                                 << qsizetype(2);
        QTest::newRow("ASCII high byte") << u"ASCII"_s << QByteArray("ok\x80") << qsizetype(2);
    }
    void failsAtTheFirstBadByte()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(qsizetype, at);
        qsizetype failedAt = -1;
        QVERIFY(!codepage::decode(name, bytes, &failedAt));
        QCOMPARE(failedAt, at);
    }

    // A character without bytes in the encoding is refused, never replaced
    // by a look-alike or a question mark.
    void encodes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("possible");
        QTest::newRow("windows-1251") << u"windows-1251"_s << u"\u041F\u0440\u0438 \u20AC"_s
                                      << QByteArray("\xcf\xf0\xe8 \x88") << true;
        QTest::newRow("SHIFT_JIS") << u"SHIFT_JIS"_s << u"\u3042"_s << QByteArray("\x82\xa0") << true;
        QTest::newRow("UTF-16 marked") << u"UTF-16"_s << u"A"_s << QByteArray("\xff\xfe" "A\0", 4) << true;
        QTest::newRow("UTF-16BE") << u"UTF-16BE"_s << u"\U0001D11E"_s << QByteArray("\xd8\x34\xdd\x1e", 4) << true;
        QTest::newRow("no kana in 1251") << u"windows-1251"_s << u"a\u3042"_s << QByteArray() << false;
        QTest::newRow("no euro in latin1") << u"ISO-8859-1"_s << u"\u20AC"_s << QByteArray() << false;
        QTest::newRow("no best fit") << u"windows-1252"_s << u"\u0101"_s << QByteArray() << false;
        QTest::newRow("no lone surrogate") << u"UTF-16LE"_s << u"\xD834"_s << QByteArray() << false;
    }
    void encodes()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, possible);
        const std::optional<QByteArray> encoded = codepage::encode(name, text);
        QCOMPARE(bool(encoded), possible);
        if (possible)
            QCOMPARE(*encoded, bytes);
    }
};

QTEST_APPLESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
