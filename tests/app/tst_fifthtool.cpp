// SPDX-License-Identifier: GPL-3.0-or-later
// A tool defined in the tests alone (jottool/) and added through the one
// entry, the list of tools: the command line, reading code back, the
// selector, the panel, Copy and the code view all take it, and nothing in
// src/ names it.
#include "app/CodeView.h"
#include "app/CommandLine.h"
#include "app/Tools.h"
#include "app/jottool/JotTool.h"
#include "support/GuiTest.h"

#include <QBuffer>
#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

Run run(const QStringList &arguments, const QByteArray &input = {})
{
    QBuffer out;
    QBuffer err;
    QBuffer in;
    in.setData(input);
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    in.open(QIODevice::ReadOnly);
    const int status = runCommandLine(QStringList{u"quillkit98"_s} + arguments, out, err, in);
    return {status, QString::fromUtf8(out.data()), QString::fromUtf8(err.data())};
}

} // namespace

class TestFifthTool : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theListHasIt();
    void commandLine_data();
    void commandLine();
    void readAndFromJsonGoRoundTrip();
    void windowShowsAndCopiesIt();
    void windowReadsItsCode();
    void nothingInTheProgramNamesIt();
    void theSharedLayersNameNoTool();
};

void TestFifthTool::theListHasIt()
{
    QCOMPARE(tools().size(), 5);
    QCOMPARE(tools().constLast().cli.name, u"jot"_s);
}

void TestFifthTool::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    QTest::newRow("generate")
        << QStringList{u"generate"_s, u"jot"_s, u"--author"_s, u"Ann"_s, u"--note"_s, u"Check the rounding"_s} << 0
        << u"' JOT (Ann): Check the rounding"_s << QString();
    QTest::newRow("defaults") << QStringList{u"generate"_s, u"jot"_s} << 0 << u"' JOT (Me): "_s << QString();
    QTest::newRow("a check of the tool's own") << QStringList{u"generate"_s, u"jot"_s, u"--author"_s, u"a)b"_s} << 2
                                               << QString() << u"--author: a parenthesis"_s;
    QTest::newRow("options from the table are checked like any")
        << QStringList{u"generate"_s, u"jot"_s, u"--note"_s, u"a"_s, u"--note"_s, u"b"_s} << 2 << QString()
        << u"--note"_s;
    QTest::newRow("the list of tools") << QStringList{u"generate"_s, u"--help"_s} << 0 << u"Jotwright"_s << QString();
    QTest::newRow("the tool's own help")
        << QStringList{u"generate"_s, u"jot"_s, u"--help"_s} << 0 << u"--author <TEXT>"_s << QString();
    QTest::newRow("read's help names it")
        << QStringList{u"read"_s, u"--help"_s} << 0 << u"header,\n                commondialog, jot).\n"_s << QString();
    QTest::newRow("read looks for it too") << QStringList{u"read"_s} << 2 << QString() << u"or jotted note"_s;
}

void TestFifthTool::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const Run result = run(arguments, "nothing here\r\n");
    QCOMPARE(result.status, status);
    if (status == 0 && arguments.size() > 1 && !arguments.contains(u"--help"_s))
        QCOMPARE(result.out, out);
    else
        QVERIFY2(result.out.contains(out), qPrintable(result.out));
    QVERIFY2(result.err.contains(err), qPrintable(result.err));
}

void TestFifthTool::readAndFromJsonGoRoundTrip()
{
    const QByteArray code = "Sub Main()\r\n    ' JOT (Bo): Ask about the \"totals\"\r\nEnd Sub\r\n";
    const Run read = run({u"read"_s}, code);
    QCOMPARE(read.status, 0);
    const QJsonObject object = QJsonDocument::fromJson(read.out.toUtf8()).object();
    QCOMPARE(object.value(u"tool"_s).toString(), u"jot"_s);
    QCOMPARE(object.value(u"author"_s).toString(), u"Bo"_s);
    QCOMPARE(object.value(u"note"_s).toString(), u"Ask about the \"totals\""_s);

    const Run back = run({u"generate"_s, u"--from-json"_s, u"-"_s}, read.out.toUtf8());
    QCOMPARE(back.err, QString());
    QCOMPARE(back.out, u"' JOT (Bo): Ask about the \"totals\""_s);
    // A member of the object that the table does not have is refused.
    const Run unknown = run({u"generate"_s, u"--from-json"_s, u"-"_s}, R"({"tool":"jot","colour":"red"})");
    QCOMPARE(unknown.status, 2);
    QVERIFY2(unknown.err.contains(u"colour"_s), qPrintable(unknown.err));
}

void TestFifthTool::windowShowsAndCopiesIt()
{
    GuiHarness gui;
    gui.selectTool(u"imgJotwright"_s);
    QVERIFY(gui.find(u"tabJotwright"_s)->isVisible());
    QVERIFY(!gui.find(u"tabNotewright"_s)->isVisible());
    gui.type(u"txtNoteJot"_s, u"Fix the totals"_s);
    QCOMPARE(gui.copy(), u"' JOT (Me): Fix the totals"_s);

    gui.window->setCodeViewShown(true);
    QCOMPARE(gui.find<CodeView>(u"txtCode"_s)->code(), u"' JOT (Me): Fix the totals"_s);
    gui.type(u"txtAuthorJot"_s, u"Ann"_s);
    QTRY_COMPARE(gui.find<CodeView>(u"txtCode"_s)->code(), u"' JOT (Ann): Fix the totals"_s);

    gui.click(u"cmdNew"_s);
    QCOMPARE(gui.find<QLineEdit>(u"txtNoteJot"_s)->text(), QString());
}

void TestFifthTool::windowReadsItsCode()
{
    GuiHarness gui;
    gui.window->readCode(u"' JOT (Cy): Rename the form\r\n"_s);
    QVERIFY(gui.find(u"tabJotwright"_s)->isVisible());
    QCOMPARE(gui.find<QLineEdit>(u"txtAuthorJot"_s)->text(), u"Cy"_s);
    QCOMPARE(gui.find<QLineEdit>(u"txtNoteJot"_s)->text(), u"Rename the form"_s);
    QCOMPARE(gui.window->currentCode(), u"' JOT (Cy): Rename the form"_s);
}

void TestFifthTool::nothingInTheProgramNamesIt()
{
    QDirIterator files(QStringLiteral(QUILLKIT_SOURCE_DIR "/src"), QDir::Files, QDirIterator::Subdirectories);
    QStringList naming;
    while (files.hasNext()) {
        QFile file(files.next());
        QVERIFY(file.open(QIODevice::ReadOnly));
        if (QString::fromUtf8(file.readAll()).contains(u"jot"_s, Qt::CaseInsensitive))
            naming << file.fileName();
    }
    QVERIFY2(naming.isEmpty(), qPrintable(naming.join(u", "_s)));
}

// The hover, the code's shared writing and the commands serve every tool
// alike: none of them names one, by its command, caption or folder, and the
// hover and the writing not by the words of its calls either.
void TestFifthTool::theSharedLayersNameNoTool()
{
    const QString source = QStringLiteral(QUILLKIT_SOURCE_DIR "/src");
    QStringList folders = QDir(source + u"/tools"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QVERIFY(folders.size() >= 4);
    QStringList naming;
    for (const QString &layer : {u"lsp"_s, u"codegen"_s, u"commands"_s}) {
        QStringList marks;
        for (const QString &folder : folders)
            marks << u"tools/"_s + folder + u'/';
        for (const Tool &tool : tools()) {
            marks << u'"' + tool.cli.name + u'"' << tool.caption;
            if (layer != u"commands"_s) {
                for (const QString &word : tool.callWords)
                    marks << u'"' + word;
            }
        }
        QDirIterator files(source + u'/' + layer, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            for (const QString &mark : std::as_const(marks)) {
                if (text.contains(mark, Qt::CaseInsensitive))
                    naming << file.fileName() + u": "_s + mark;
            }
        }
    }
    QVERIFY2(naming.isEmpty(), qPrintable(naming.join(u"\n"_s)));
}

QTEST_MAIN(TestFifthTool)
#include "tst_fifthtool.moc"
