// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "commands/CommandIo.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A device that takes nothing, as a full disk or a closed pipe.
class RefusingDevice : public QIODevice
{
public:
    RefusingDevice()
    {
        open(QIODevice::WriteOnly);
        setErrorString(u"No space left on device"_s);
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64) override { return -1; }
};

struct Written
{
    int status = -1;
    QByteArray err;
};

} // namespace

class TestCommandIo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void givenTwice_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("twice");

        QTest::newRow("none") << QStringList{u"--tool=a"_s, u"--file=b"_s} << QString();
        QTest::newRow("the second value") << QStringList{u"--file=a"_s, u"--file"_s, u"b"_s} << u"file"_s;
        // The options' order decides, not the command line's.
        QTest::newRow("first declared") << QStringList{u"--file=a"_s, u"--file=b"_s, u"--tool=x"_s, u"--tool=y"_s}
                                        << u"tool"_s;
        QTest::newRow("by another name") << QStringList{u"-t"_s, u"x"_s, u"--tool=y"_s} << u"tool"_s;
        QTest::newRow("a flag") << QStringList{u"--check"_s, u"--check"_s} << u"check"_s;
    }

    void givenTwice()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, twice);
        QCommandLineParser parser;
        const QList<QCommandLineOption> options{{{u"tool"_s, u"t"_s}, QString(), u"TOOL"_s},
                                                {u"file"_s, QString(), u"FILE"_s},
                                                {u"check"_s, QString()}};
        parser.addOptions(options);
        QVERIFY(parser.parse(QStringList{u"quillkit98"_s} + arguments));
        QCOMPARE(commands::givenTwice(parser, options), twice);
    }

    // The GNU forms every command writes its errors in, byte for byte.
    void errors_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("err");

        QTest::newRow("usage") << 0 << 2
                               << QByteArray("quillkit98: read: bad \\e[1m\n"
                                             "Try 'quillkit98 read --help' for more information.\n");
        QTest::newRow("usage, lines kept") << 1 << 2
                                           << QByteArray("quillkit98: one\n  - 'two'\n"
                                                         "Try 'quillkit98 fix --help' for more information.\n");
        QTest::newRow("a usage CliError") << 2 << 2
                                          << QByteArray("quillkit98: generate msgbox: --icon is given more than once\n"
                                                        "Try 'quillkit98 generate msgbox --help' for more information.\n");
        QTest::newRow("a file's CliError") << 3 << 2 << QByteArray("quillkit98: notes: Is a directory\n");
        QTest::newRow("a file") << 4 << -1 << QByteArray("quillkit98: a\\nb.bas: No such file or directory\n");
        QTest::newRow("output refused") << 5 << 1
                                        << QByteArray("quillkit98: cannot write the output: No space left on device\n");
    }

    void errors()
    {
        QFETCH(int, which);
        QFETCH(int, status);
        QFETCH(QByteArray, err);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        RefusingDevice refusing;
        int got = -1;
        switch (which) {
        case 0: got = commands::usageError(buffer, u"read: bad \x1b[1m", u"read"); break;
        case 1: got = commands::usageErrorLines(buffer, u"one\n  - 'two'", u"fix"); break;
        case 2:
            got = commands::reportedError(buffer, CliError{u"--icon is given more than once"_s}, u"generate msgbox"_s,
                                          u"generate msgbox");
            break;
        case 3:
            got = commands::reportedError(buffer, CliError{u"notes: Is a directory"_s, false}, u"generate"_s,
                                          u"generate");
            break;
        case 4: commands::writeFileError(buffer, u"a\nb.bas", u"No such file or directory"); break;
        case 5: got = commands::printed(refusing, buffer, u"code"); break;
        }
        QCOMPARE(got, status);
        QCOMPARE(buffer.data(), err);
    }

    // What a command quotes from its command line is escaped, whichever
    // command it is: it cannot move a terminal's cursor.
    void unexpectedArgumentsAreEscaped_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("err");

        QTest::newRow("generate") << QStringList{u"generate"_s, u"msgbox"_s, u"\x1b]0;x\a"_s}
                                  << QByteArray("quillkit98: generate msgbox: unexpected argument '\\e]0;x\\a'\n"
                                                "Try 'quillkit98 generate msgbox --help' for more information.\n");
        QTest::newRow("read") << QStringList{u"read"_s, u"\x1b[2J"_s}
                              << QByteArray("quillkit98: read: unexpected argument '\\e[2J'\n"
                                            "Try 'quillkit98 read --help' for more information.\n");
        QTest::newRow("fix") << QStringList{u"fix"_s, u"-\x1b"_s}
                             << QByteArray("quillkit98: invalid option -- '\\e'\n"
                                           "Try 'quillkit98 fix --help' for more information.\n");
        QTest::newRow("lsp") << QStringList{u"lsp"_s, u"\x1b[2J"_s}
                             << QByteArray("quillkit98: lsp: unexpected argument '\\e[2J'\n"
                                           "Try 'quillkit98 lsp --help' for more information.\n");
    }

    void unexpectedArgumentsAreEscaped()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, err);
        QBuffer out, errors, in;
        out.open(QIODevice::WriteOnly);
        errors.open(QIODevice::WriteOnly);
        in.open(QIODevice::ReadOnly);
        QCOMPARE(runCommandLine(QStringList{u"quillkit98"_s} + arguments, out, errors, in), 2);
        QCOMPARE(errors.data(), err);
        QVERIFY(out.data().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCommandIo)
#include "tst_commandio.moc"
