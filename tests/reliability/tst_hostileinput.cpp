// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile input through the widgets and through `quillkit98 generate`: huge
// texts, NULs, lone surrogates, emoji, right-to-left text, thousands of file
// types and topic texts at Val's edges. Nothing may crash or hang, and the
// code is exactly what the rules make of the text.

#include "codegen/CodeLayout.h"
#include "codegen/CodeText.h"
#include "support/GuiTest.h"
#include "tools/commondialog/CommonDialogGenerator.h"
#include "tools/inputbox/InputBoxGenerator.h"
#include "tools/msgbox/MsgBoxGenerator.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype TenMegabytes = 10'000'000;
// Far beyond what these take on any machine, far below a hang.
constexpr qint64 PatienceMs = 120'000;

// A text of about ten megabytes: one endless word, or lines of 100.
QString tenMegabytes(bool lines)
{
    QString unit = lines ? QString(99, u'x') + u'\n' : QString(100, u'x');
    QString text;
    text.reserve(TenMegabytes + unit.size());
    while (text.size() < TenMegabytes)
        text += unit;
    return text;
}

// Pastes into a field as the user does, replacing what it held.
void paste(const GuiHarness &gui, const QString &field, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    QWidget *editor = gui.find(field);
    if (auto *combo = qobject_cast<QComboBox *>(editor))
        editor = combo->lineEdit();
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
}

struct Run
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// The real program, headless: the one CTest names, or the one this build
// made.
Run generate(const QStringList &arguments, const QByteArray &input = {})
{
    QString program = qEnvironmentVariable("QUILLKIT98");
    if (program.isEmpty())
        program = QCoreApplication::applicationDirPath() + u"/../../quillkit98"_s;
    QProcess process;
    process.start(program, QStringList{u"generate"_s} + arguments);
    if (!process.waitForStarted())
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(int(PatienceMs))) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

QString writeTemporary(QTemporaryFile &file, const QByteArray &bytes)
{
    if (!file.open() || file.write(bytes) != bytes.size())
        return {};
    file.close();
    return file.fileName();
}

MsgBoxFields messageBox(const QString &message, const QString &title = {})
{
    MsgBoxFields fields;
    fields.message = message;
    fields.title = title;
    return fields;
}

} // namespace

class TestHostileInput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tenMegabyteMessages_data();
    void tenMegabyteMessages();
    void oddCharactersSurviveCopy_data();
    void oddCharactersSurviveCopy();
    void tenThousandFileTypes();
    void topicTexts_data();
    void topicTexts();
    void commandLineTakesOddText();
};

void TestHostileInput::tenMegabyteMessages_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<bool>("lines");
    QTest::newRow("message box, one word") << u"imgNotewright"_s << false;
    QTest::newRow("input box, lines") << u"imgAskwright"_s << true;
}

void TestHostileInput::tenMegabyteMessages()
{
    QFETCH(QString, tool);
    QFETCH(bool, lines);
    const QString text = tenMegabytes(lines);
    const bool msgBox = tool == u"imgNotewright"_s;
    QString expected;
    if (msgBox) {
        expected = generateMsgBoxCode(messageBox(codegen::toCrLf(text)));
    } else {
        InputBoxFields fields;
        fields.message = codegen::toCrLf(text);
        expected = generateInputBox(fields);
    }

    GuiHarness gui;
    gui.selectTool(tool);
    QElapsedTimer clock;
    clock.start();
    paste(gui, msgBox ? u"txtMessageMsgBox"_s : u"txtMessageInputBox"_s, text);
    QCOMPARE(gui.copy(), expected);
    QVERIFY2(clock.elapsed() < PatienceMs, qPrintable(u"paste and Copy took %1 ms"_s.arg(clock.elapsed())));

    // The command line reads it from a file, final line break and all.
    QTemporaryFile file;
    const QString path = writeTemporary(file, text.toUtf8() + '\n');
    QVERIFY(!path.isEmpty());
    clock.restart();
    const Run run = generate({msgBox ? u"msgbox"_s : u"inputbox"_s, u"--message-file"_s, path});
    QCOMPARE(run.status, 0);
    QVERIFY(run.out == expected.toUtf8());
    QVERIFY2(clock.elapsed() < PatienceMs, qPrintable(u"generate took %1 ms"_s.arg(clock.elapsed())));
}

void TestHostileInput::oddCharactersSurviveCopy_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("NUL") << u"a\0b"_s;
    QTest::newRow("lone high surrogate") << QString(QChar(0xD83D)) + u"end"_s;
    QTest::newRow("lone low surrogate") << u"start"_s + QChar(0xDE00);
    QTest::newRow("emoji") << u"\U0001F600 \U0001F44D\U0001F3FD"_s;
    QTest::newRow("right-to-left") << u"\u05E9\u05DC\u05D5\u05DD \u202Eevil\u202C \u0645\u0631\u062D\u0628\u0627"_s;
    QTest::newRow("byte order marks") << u"\uFEFFx\uFFFE"_s;
}

// Every UTF-16 code unit of a message and a title reaches the clipboard as
// it was typed, in the place the rules give it.
void TestHostileInput::oddCharactersSurviveCopy()
{
    QFETCH(QString, text);
    QVERIFY(!text.isEmpty());
    GuiHarness gui;
    paste(gui, u"txtMessageMsgBox"_s, text);
    paste(gui, u"cboTitleMsgBox"_s, text);
    // A control character goes in as its Chr code, joined on.
    const QString literal = codegen::flatten(codegen::literalPieces(text));
    QCOMPARE(gui.copy(), u"'*** Start MsgBox Code ***\r\nMsgbox "_s + literal + u", 0, "_s + literal
                             + u"\r\n'*** End Notewright Code ***"_s);
    if (text.contains(QChar(0)))
        QVERIFY(literal.contains(u"Chr(0)"_s));
    gui.click(u"cmdTest"_s);
    QCOMPARE(gui.platform.msgBoxCalls.last().prompt, text);
    QCOMPARE(gui.platform.msgBoxCalls.last().title, text);
}

void TestHostileInput::tenThousandFileTypes()
{
    QStringList types;
    for (int i = 0; i < 10000; ++i)
        types << u"t%1"_s.arg(i);
    CommonDialogFields fields;
    fields.openFileTypes = types;
    const QString expected = generateCommonDialogCode(fields);

    GuiHarness gui;
    gui.selectTool(u"imgPickwright"_s);
    QElapsedTimer clock;
    clock.start();
    for (const QString &type : types) {
        gui.platform.inputBoxAnswers.enqueue(type);
        gui.click(u"cmdAddOpen"_s);
    }
    QCOMPARE(gui.find<QListWidget>(u"lstFileTypesOpen"_s)->count(), 10000);
    QCOMPARE(gui.copy(), expected);
    gui.click(u"cmdTest"_s);
    QCOMPARE(gui.platform.dialogCalls.last().filter, buildFileFilter(types));
    QVERIFY2(clock.elapsed() < PatienceMs, qPrintable(u"took %1 ms"_s.arg(clock.elapsed())));

#ifndef Q_OS_WIN
    // Windows' command line holds 32,767 characters, too few for these.
    QStringList arguments{u"commondialog"_s};
    for (const QString &type : types)
        arguments << u"--file-type"_s << type;
    const Run run = generate(arguments);
    QCOMPARE(run.status, 0);
    QVERIFY(run.out == expected.toUtf8());
#endif

    const QJsonObject object{{u"tool"_s, u"commondialog"_s}, {u"file-type"_s, QJsonArray::fromStringList(types)}};
    const Run json = generate({u"--from-json"_s, u"-"_s}, QJsonDocument(object).toJson());
    QCOMPARE(json.status, 0);
    QVERIFY(json.out == expected.toUtf8());
}

void TestHostileInput::topicTexts_data()
{
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("written");
    QTest::addColumn<double>("context");
    QTest::newRow("overflow") << u"1e999"_s << u"0"_s << 0.0;
    QTest::newRow("minus zero") << u"-0"_s << u"0"_s << 0.0;
    QTest::newRow("hex beyond 32 bits") << u"&HFFFFFFFFFFFFFFFF"_s << u"0"_s << 0.0;
    QTest::newRow("hex Integer") << u"&HFFFF"_s << u"-1"_s << -1.0;
    QTest::newRow("hex Long") << u"&HFFFF&"_s << u"65535"_s << 65535.0;
    QTest::newRow("bare octal") << u"&O"_s << u"0"_s << 0.0;
    QTest::newRow("spaced sign") << u" - 5"_s << u"-5"_s << -5.0;
}

// The topic as Copy writes it, as Test passes it, and as generate writes it.
void TestHostileInput::topicTexts()
{
    QFETCH(QString, topic);
    QFETCH(QString, written);
    QFETCH(double, context);
    GuiHarness gui;
    gui.find<QTabWidget>(u"tabNotewright"_s)->setCurrentIndex(3);
    auto *help = gui.find<QCheckBox>(u"chkHelpMsgBox"_s);
    QTest::mouseClick(help, Qt::LeftButton, {}, QPoint(8, help->height() / 2));
    gui.type(u"txtFileNameMsgBox"_s, u"my.hlp"_s);
    gui.type(u"txtTopicIDMsgBox"_s, topic);
    const QString line = u"Msgbox \"\", 16384, \"\", \"my.hlp\", "_s + written;
    QCOMPARE(gui.copy().split(u"\r\n"_s).value(1), line);
    gui.click(u"cmdTest"_s);
    QCOMPARE(gui.platform.msgBoxCalls.last().help, (HelpTopic{u"my.hlp"_s, context}));

    const Run run = generate({u"msgbox"_s, u"--help-button"_s, u"--help-file"_s, u"my.hlp"_s, u"--topic"_s, topic});
    QCOMPARE(run.status, 0);
    QCOMPARE(QString::fromUtf8(run.out).split(u"\r\n"_s).value(1), line);
}

// What the command line makes of text that no argument can carry: a NUL and
// bytes that are not UTF-8 (such as a lone surrogate in UTF-8's form, ED A0
// 80) arrive through -file; a file that is not UTF-8 is read as the classic
// editor's Windows-1252, and what is printed is always UTF-8.
void TestHostileInput::commandLineTakesOddText()
{
    QTemporaryFile file;
    const QString path = writeTemporary(file, QByteArray("A\0B\xED\xA0\x80" "C", 7));
    const Run fromFile = generate({u"msgbox"_s, u"--title-file"_s, path});
    QCOMPARE(fromFile.status, 0);
    const QString title = u"A"_s + QChar(u'\0') + u"B\u00ED\u00A0\u20ACC"_s;
    QVERIFY(fromFile.out == generateMsgBoxCode(messageBox({}, title)).toUtf8());

    const QString odd = u"\U0001F600 \u05E9\u05DC\u05D5\u05DD \u202Eevil \"q\""_s;
    const Run fromArguments = generate({u"msgbox"_s, u"--message"_s, odd, u"--title"_s, odd});
    QCOMPARE(fromArguments.status, 0);
    QCOMPARE(QString::fromUtf8(fromArguments.out), generateMsgBoxCode(messageBox(odd, odd)));

    // Standard input may hold anything a file may.
    const Run fromInput = generate({u"inputbox"_s, u"--message-file"_s, u"-"_s}, QByteArray("x\0y\r\n", 5));
    QCOMPARE(fromInput.status, 0);
    InputBoxFields fields;
    fields.message = u"x"_s + QChar(u'\0') + u"y"_s;
    QVERIFY(fromInput.out == generateInputBox(fields).toUtf8());
}

QTEST_MAIN(TestHostileInput)
#include "tst_hostileinput.moc"
