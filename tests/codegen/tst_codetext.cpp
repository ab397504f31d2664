// SPDX-License-Identifier: GPL-3.0-or-later
#include "codegen/CodeLayout.h"
#include "codegen/CodeText.h"

#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>

using namespace Qt::StringLiterals;
using namespace codegen;

class TestCodeText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void encode_data();
    void encode();
    void encodeLongTextKeepsEveryCharacter();
    void topicNumber_data();
    void topicNumber();
    void formatTopic_data();
    void formatTopic();
    void topicIgnoresDecimalCommaLocale();
    void literal_data();
    void literal();
    void toCrLf_data();
    void toCrLf();
};

void TestCodeText::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << u""_s << u"\"\""_s;
    QTest::newRow("plain") << u"Hello"_s << u"\"Hello\""_s;
    QTest::newRow("two lines") << u"Line1\r\nLine2"_s << u"\"Line1\" & vbCrLf & \"Line2\""_s;
    QTest::newRow("leading break") << u"\r\nHi"_s << u"\"\" & vbCrLf & \"Hi\""_s;
    QTest::newRow("trailing break") << u"Hi\r\n"_s << u"\"Hi\" & vbCrLf & \"\""_s;
    QTest::newRow("empty line") << u"A\r\n\r\nB"_s << u"\"A\" & vbCrLf & \"\" & vbCrLf & \"B\""_s;
    QTest::newRow("quotes") << u"Say \"OK\""_s << u"\"Say \" & Chr(34) & \"OK\" & Chr(34) & \"\""_s;
    QTest::newRow("quote then break") << u"A\"\r\nB"_s << u"\"A\" & Chr(34) & \"\" & vbCrLf & \"B\""_s;
    QTest::newRow("two quotes") << u"\"\""_s << u"\"\" & Chr(34) & \"\" & Chr(34) & \"\""_s;
    QTest::newRow("lone CR eats next") << u"A\rBC"_s << u"\"A\" & vbCrLf & \"C\""_s;
    QTest::newRow("lone CR eats a quote") << u"A\r\"B"_s << u"\"A\" & vbCrLf & \"B\""_s;
    QTest::newRow("lone CR eats a CR") << u"A\r\rB"_s << u"\"A\" & vbCrLf & \"B\""_s;
    QTest::newRow("final CR") << u"A\r"_s << u"\"A\" & vbCrLf & \"\""_s;
    QTest::newRow("tab copied") << u"A\tB"_s << u"\"A\tB\""_s;
    // Control characters cannot stand in a source line: Chr codes, joined as
    // Chr(34) is.
    QTest::newRow("lone LF as its code") << u"A\nB"_s << u"\"A\" & Chr(10) & \"B\""_s;
    QTest::newRow("NUL, ESC and DEL") << u"\u0000x\u001by\u007f"_s
                                      << u"\"\" & Chr(0) & \"x\" & Chr(27) & \"y\" & Chr(127) & \"\""_s;
    QTest::newRow("control after a break") << u"A\r\n\u0007"_s << u"\"A\" & vbCrLf & \"\" & Chr(7) & \"\""_s;
    QTest::newRow("U+0080 and U+0020 copied") << u" \u0080 "_s << u"\" \u0080 \""_s;
    QTest::newRow("non-ASCII copied") << u"Grüße © 😀"_s << u"\"Grüße © 😀\""_s;
}

void TestCodeText::encode()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    // The message's expression, as the generators write it on one line.
    QCOMPARE(flatten(messagePieces(text)), expected);
}

void TestCodeText::encodeLongTextKeepsEveryCharacter()
{
    // A long message with a break and a quote every few characters: the
    // result must grow by exactly the pieces' sizes, nothing lost or merged.
    QString text;
    for (int i = 0; i < 100000; ++i)
        text += u"ab\r\ncd\""_s;
    const QString encoded = flatten(messagePieces(text));
    QCOMPARE(encoded.size(), 2 + 100000 * (4 + 14 + 15));
    QVERIFY(encoded.startsWith(u"\"ab\" & vbCrLf & \"cd\" & Chr(34) & \"ab"_s));
    QVERIFY(encoded.endsWith(u"\"cd\" & Chr(34) & \"\""_s));
}

void TestCodeText::topicNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("empty") << u""_s << 0.0;
    QTest::newRow("digits") << u"120"_s << 120.0;
    QTest::newRow("leading blanks, trailing text") << u"  42abc"_s << 42.0;
    QTest::newRow("blank inside") << u"1 2"_s << 12.0;
    QTest::newRow("tab and LF inside") << u"\t1\n2"_s << 12.0;
    QTest::newRow("CR stops") << u"1\r2"_s << 1.0;
    QTest::newRow("words") << u"7 pages"_s << 7.0;
    QTest::newRow("not a number") << u"abc"_s << 0.0;
    QTest::newRow("negative") << u"-5"_s << -5.0;
    QTest::newRow("spaced sign") << u" - 5"_s << -5.0;
    QTest::newRow("plus") << u"+8"_s << 8.0;
    QTest::newRow("fraction") << u"1.5"_s << 1.5;
    QTest::newRow("second point stops") << u"1.5.7"_s << 1.5;
    QTest::newRow("leading point") << u".25"_s << 0.25;
    QTest::newRow("exponent") << u"1e3"_s << 1000.0;
    QTest::newRow("D exponent") << u"2D2"_s << 200.0;
    QTest::newRow("incomplete exponent") << u"3e"_s << 3.0;
    QTest::newRow("exponent sign only") << u"3e+x"_s << 3.0;
    QTest::newRow("hex") << u"&H1F"_s << 31.0;
    QTest::newRow("hex lower case") << u"&hff"_s << 255.0;
    QTest::newRow("octal") << u"&O17"_s << 15.0;
    QTest::newRow("octal stops at 8") << u"&O78"_s << 7.0;
    QTest::newRow("hex 16 bits is an Integer") << u"&HFFFF"_s << -1.0;
    QTest::newRow("hex Integer's lowest") << u"&H8000"_s << -32768.0;
    QTest::newRow("hex Integer's highest") << u"&H7FFF"_s << 32767.0;
    QTest::newRow("hex past 16 bits is a Long") << u"&H10000"_s << 65536.0;
    QTest::newRow("hex 32 bits") << u"&HFFFFFFFF"_s << -1.0;
    QTest::newRow("hex Long's lowest") << u"&H80000000"_s << -2147483648.0;
    QTest::newRow("trailing & makes a Long") << u"&HFFFF&"_s << 65535.0;
    QTest::newRow("spaced trailing &") << u"&H FF FF &"_s << 65535.0;
    QTest::newRow("hex past 32 bits overflows") << u"&H100000000"_s << 0.0;
    QTest::newRow("hex far past 32 bits overflows") << u"&HFFFFFFFFFFFFFFFFFFFF"_s << 0.0;
    QTest::newRow("leading zeros count for nothing") << u"&H00000000000000001"_s << 1.0;
    QTest::newRow("octal 16 bits") << u"&O177777"_s << -1.0;
    QTest::newRow("octal Long") << u"&O177777&"_s << 65535.0;
    QTest::newRow("octal past 16 bits") << u"&O200000"_s << 65536.0;
    QTest::newRow("octal past 32 bits overflows") << u"&O40000000000"_s << 0.0;
    QTest::newRow("bare &H") << u"&H"_s << 0.0;
    QTest::newRow("bare &O") << u"&O"_s << 0.0;
    QTest::newRow("& other") << u"&X1"_s << 0.0;
    QTest::newRow("sign alone") << u"-"_s << 0.0;
    QTest::newRow("minus zero") << u"-0"_s << 0.0;
    QTest::newRow("full-width digit is not a digit") << u"\uFF11"_s << 0.0;
}

void TestCodeText::topicNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(codegen::topicNumber(text), expected);
}

void TestCodeText::formatTopic_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << u""_s << u"0"_s;
    QTest::newRow("whole") << u"120"_s << u"120"_s;
    QTest::newRow("negative") << u"-5"_s << u"-5"_s;
    QTest::newRow("minus zero") << u"-0"_s << u"0"_s;
    QTest::newRow("minus zero fraction") << u"-0.0"_s << u"0"_s;
    QTest::newRow("fraction") << u"1.5"_s << u"1.5"_s;
    QTest::newRow("whole with point") << u"12.000"_s << u"12"_s;
    QTest::newRow("large whole") << u"123456789012345"_s << u"123456789012345"_s;
    QTest::newRow("too large for digits") << u"1e20"_s << u"1E+20"_s;
    QTest::newRow("small") << u"0.00001"_s << u"1E-05"_s;
    QTest::newRow("hex Integer") << u"&HFFFF"_s << u"-1"_s;
    QTest::newRow("hex beyond 32 bits") << u"&HFFFFFFFFFFFFFFFF"_s << u"0"_s;
    QTest::newRow("overflow") << u"1e999"_s << u"0"_s;
    QTest::newRow("negative overflow") << u"-1e999"_s << u"0"_s;
    QTest::newRow("underflow") << u"1e-999"_s << u"0"_s;
    QTest::newRow("huge hex") << (u"&H"_s + QString(400, u'F')) << u"0"_s;
}

void TestCodeText::formatTopic()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(topicArgument(text), expected);
}

// A process under a decimal-comma locale still reads "." as Val's point. The
// locale is built for the test, as few machines carry one.
void TestCodeText::topicIgnoresDecimalCommaLocale()
{
    QTemporaryDir locales;
    QVERIFY(locales.isValid());
    QProcess localedef;
    localedef.start(u"localedef"_s, {u"-i"_s, u"de_DE"_s, u"-f"_s, u"UTF-8"_s, locales.filePath(u"de_DE.UTF-8"_s)});
    if (!localedef.waitForFinished(60000) || localedef.exitStatus() != QProcess::NormalExit
        || !QFileInfo::exists(locales.filePath(u"de_DE.UTF-8"_s)))
        QSKIP("localedef cannot build de_DE here");
    const QByteArray oldLocpath = qgetenv("LOCPATH");
    qputenv("LOCPATH", QFile::encodeName(locales.path()));
    QVERIFY(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"));
    const auto restore = qScopeGuard([&] {
        std::setlocale(LC_NUMERIC, "C");
        qputenv("LOCPATH", oldLocpath);
    });
    // The locale is in force: the C library now stops at the point.
    QCOMPARE(std::strtod("1.5", nullptr), 1.0);

    QCOMPARE(codegen::topicNumber(u"12.75e1"), 127.5);
    QCOMPARE(codegen::topicNumber(u"1.5"), 1.5);
    QCOMPARE(codegen::topicArgument(u"1.5"), u"1.5"_s);
    QCOMPARE(codegen::topicArgument(u"1e20"), u"1E+20"_s);
    QCOMPARE(codegen::topicContext(u"0.25"), 0.25);
}

void TestCodeText::literal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << u""_s << u"\"\""_s;
    QTest::newRow("plain") << u"Confirm"_s << u"\"Confirm\""_s;
    QTest::newRow("inner quotes doubled") << u"Say \"hi\""_s << u"\"Say \"\"hi\"\"\""_s;
    QTest::newRow("lone quote") << u"\""_s << u"\"\"\"\""_s;
    QTest::newRow("backslash kept") << u"\\myapp.hlp"_s << u"\"\\myapp.hlp\""_s;
}

void TestCodeText::literal()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(flatten(literalPieces(text)), expected);
}

void TestCodeText::toCrLf_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("LF") << u"a\nb"_s << u"a\r\nb"_s;
    QTest::newRow("CR LF kept") << u"a\r\nb"_s << u"a\r\nb"_s;
    QTest::newRow("lone CR") << u"a\rb"_s << u"a\r\nb"_s;
    QTest::newRow("LF CR is two breaks") << u"a\n\rb"_s << u"a\r\n\r\nb"_s;
    QTest::newRow("trailing") << u"a\n"_s << u"a\r\n"_s;
    QTest::newRow("none") << u"abc"_s << u"abc"_s;
}

void TestCodeText::toCrLf()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(codegen::toCrLf(text), expected);
}

QTEST_APPLESS_MAIN(TestCodeText)
#include "tst_codetext.moc"
