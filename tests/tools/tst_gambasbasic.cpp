// SPDX-License-Identifier: GPL-3.0-or-later
// The Gambas dialect checked in Gambas itself: every snippet of a table and
// of random fields becomes a procedure of one script that gbs3 compiles and
// runs under Xvfb (gb.qt5 needs a display). Message, InputBox, the Dialog
// functions and the printer's Configure are replaced by functions that
// record what the code set up (Message.Title, Dialog.Title, Dialog.Filter
// are the real ones), which must be the typed texts and buttons.

#include "codegen/CodeOptions.h"
#include "support/RandomText.h"
#include "tools/commondialog/CommonDialogGenerator.h"
#include "tools/header/HeaderGenerator.h"
#include "tools/inputbox/InputBoxGenerator.h"
#include "tools/msgbox/MsgBoxGambas.h"
#include "tools/msgbox/MsgBoxGenerator.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const codegen::CodeOptions Gambas{codegen::CodeOptions::Constants::Numbers, codegen::CodeOptions::Dialect::Gambas};

struct Snippet
{
    QString label;
    QString code;
    // The record the procedure must report, as UTF-8.
    QByteArray expected;
    // Variable that the snippet assigns without declaring it.
    QString undeclared;
};

// A text as the script reports it: its length in bytes (Gambas's strings
// are UTF-8), a colon and the text.
QByteArray framed(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    return QByteArray::number(utf8.size()) + ':' + utf8;
}

// Replaces each match of `pattern` by `replacement`; the number replaced.
int replaceAll(QString &code, const QString &pattern, const QString &replacement)
{
    const QRegularExpression re(pattern, QRegularExpression::MultilineOption);
    const int count = int(code.count(re));
    code.replace(re, replacement);
    return count;
}

const QString recorders = uR"(
Private Recorded As Integer
Private Record As String

Private Sub Framed(Text As String) As String
  Return Len(Text) & ":" & Text
End

Public Function RecordMessage(Kind As String, Text As String, Optional Button1 As String, Optional Button2 As String, Optional Button3 As String) As Integer
  Inc Recorded
  Record = Framed(Text) & Framed(Message.Title) & Framed(Button1 & "|" & Button2 & "|" & Button3) & Kind
  ' The real box forgets its title after showing it.
  Message.Title = ""
  Return 1
End

Public Function RecordInputBox(Prompt As String, Optional Title As String, Optional DefaultText As String) As String
  Inc Recorded
  Record = Framed(Prompt) & Framed(Title) & Framed(DefaultText)
  Return DefaultText
End

' A file chosen, so that the code after the dialog runs too.
Public Function RecordDialog(Kind As String) As Boolean
  Inc Recorded
  Record = Framed(Dialog.Title) & Framed(Dialog.Filter.Join("|")) & Kind
  Dialog.Path = "/tmp/picked"
  Return False
End

Public Function RecordConfigure(Setup As Printer) As Boolean
  Inc Recorded
  Record = "Configure " & Object.Type(Setup)
  Return False
End
)"_s;

class GambasRun
{
public:
    GambasRun(const QString &gbs3, const QString &xvfbRun) : m_gbs3(gbs3), m_xvfbRun(xvfbRun)
    {
        m_dir.setAutoRemove(qEnvironmentVariableIsEmpty("QUILLKIT_KEEP_GAMBAS_DIR"));
    }

    void add(const Snippet &snippet) { m_snippets << snippet; }
    const QList<Snippet> &snippets() const { return m_snippets; }

    bool run(QMap<int, QByteArray> *results, QString *error, int timeoutMs)
    {
        if (!m_dir.isValid()) {
            *error = u"no temporary directory"_s;
            return false;
        }
        const QString path = m_dir.path() + u"/snippets.gbs"_s;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            *error = u"cannot write "_s + path;
            return false;
        }
        const QString source = script();
        file.write(source.toUtf8());
        file.close();

        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *sub : {"home", "cache", "runtime", "tmp"})
            QDir(m_dir.path()).mkpath(QString::fromLatin1(sub));
        env.insert(u"HOME"_s, m_dir.path() + u"/home"_s);
        env.insert(u"XDG_CACHE_HOME"_s, m_dir.path() + u"/cache"_s);
        env.insert(u"XDG_RUNTIME_DIR"_s, m_dir.path() + u"/runtime"_s);
        env.insert(u"TMPDIR"_s, m_dir.path() + u"/tmp"_s);
        env.remove(u"QT_QPA_PLATFORM"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_dir.path());
        process.setStandardInputFile(QProcess::nullDevice());
        process.start(m_xvfbRun, {u"-a"_s, u"-s"_s, u"-screen 0 1280x900x24"_s, m_gbs3, u"-c"_s, path});
        if (!process.waitForStarted(30000)) {
            *error = u"cannot start "_s + m_xvfbRun + u": "_s + process.errorString();
            return false;
        }
        if (!process.waitForFinished(timeoutMs)) {
            process.kill();
            process.waitForFinished(10000);
            *error = u"gbs3 did not finish within %1 s and was stopped"_s.arg(timeoutMs / 1000);
            return false;
        }
        const QByteArray out = process.readAllStandardOutput();
        const QString err = QString::fromUtf8(process.readAllStandardError());
        parse(out, results);
        if (!out.contains("\nDONE\n")) {
            // gbs3 reports a compile error on standard output.
            QString said = err;
            for (const QByteArray &line : out.split('\n')) {
                if (line.contains("MMain:"))
                    said += QString::fromUtf8(line.left(500)) + u'\n';
            }
            *error = u"the script did not finish (status %1):\n"_s.arg(process.exitCode()) + said.right(3000)
                     + whereCompileFailed(said, source);
            return false;
        }
        return true;
    }

private:
    QString script() const
    {
        QString source = u"Use \"gb.qt5\", \"gb.form\"\n"_s + recorders;
        source += u"\nPublic Sub Main()\n"_s;
        for (int i = 0; i < m_snippets.size(); ++i)
            source += u"  Snippet"_s + QString::number(i) + u"()\n"_s;
        source += u"  Print \"DONE\"\nEnd\n"_s;
        for (int i = 0; i < m_snippets.size(); ++i) {
            const Snippet &snippet = m_snippets.at(i);
            QString code = snippet.code;
            code.replace(u"\r\n"_s, u"\n"_s);
            const QString n = QString::number(i);
            source += u"\n' SNIPPET "_s + n + u"\nPublic Sub Snippet"_s + n + u"()\n"_s;
            source += u"  Recorded = 0\n  Record = \"\"\n  Dialog.Path = \"\"\n"_s;
            if (!snippet.undeclared.isEmpty())
                source += u"  Dim "_s + snippet.undeclared + u" As String\n"_s;
            source += code + u'\n';
            source += u"  Print \"END "_s + n + u" \" & Framed(Recorded & \";\" & Record & \";\" & Dialog.Path)\n"_s;
            source += u"Catch\n  Print \"END "_s + n + u" failed: \" & Error.Text & \" at \" & Error.Where\nEnd\n"_s;
        }
        return source;
    }

    // The snippet that holds the line a compile error names.
    QString whereCompileFailed(const QString &err, const QString &source) const
    {
        static const QRegularExpression at(u"MMain:(\\d+):"_s);
        const QRegularExpressionMatch m = at.match(err);
        if (!m.hasMatch())
            return {};
        // gbs3 puts a few lines of its own before the script.
        const QStringList lines = source.split(u'\n');
        const int line = m.captured(1).toInt();
        static const QRegularExpression marker(u"^' SNIPPET (\\d+)$"_s);
        int snippet = -1;
        for (int i = 0; i < std::min<int>(line, int(lines.size())); ++i) {
            if (const auto mm = marker.match(lines.at(i)); mm.hasMatch())
                snippet = mm.captured(1).toInt();
        }
        if (snippet < 0)
            return {};
        return u"\nnear snippet "_s + QString::number(snippet) + u" ("_s + m_snippets.at(snippet).label + u"):\n"_s
               + m_snippets.at(snippet).code.left(3000);
    }

    static void parse(const QByteArray &out, QMap<int, QByteArray> *results)
    {
        // "END n len:record\n", the record holding any byte.
        qsizetype at = 0;
        for (;;) {
            at = out.indexOf("END ", at);
            if (at < 0)
                return;
            if (at > 0 && out.at(at - 1) != '\n') {
                at += 4;
                continue;
            }
            const qsizetype space = out.indexOf(' ', at + 4);
            const qsizetype colon = space < 0 ? -1 : out.indexOf(':', space);
            if (colon < 0)
                return;
            const int index = out.sliced(at + 4, space - at - 4).toInt();
            bool ok = false;
            const qsizetype length = out.sliced(space + 1, colon - space - 1).toLongLong(&ok);
            if (!ok) {
                const qsizetype end = out.indexOf('\n', space);
                results->insert(index, out.sliced(space + 1, (end < 0 ? out.size() : end) - space - 1));
                at = space;
                continue;
            }
            results->insert(index, out.sliced(colon + 1, std::min(length, out.size() - colon - 1)));
            at = colon + 1 + length;
        }
    }

    QString m_gbs3;
    QString m_xvfbRun;
    QTemporaryDir m_dir;
    QList<Snippet> m_snippets;
};

// Random fields: quotation marks, backslashes, line breaks, control
// characters, accents, CJK and characters beyond the BMP, now and then long
// enough to be cut over lines or built up in a variable.
class Fields
{
public:
    explicit Fields(quint32 seed) : m_random(seed) {}

    QString text(bool multiLine)
    {
        static const QStringList atoms{
            u"a"_s, u"Z"_s, u"7"_s, u" "_s, u"\""_s, u"\\"_s, u"\\\""_s, u"\\n"_s, u"'"_s, u"&"_s, u"_"_s,
            u"é"_s, u"中"_s, u"\U0001F600"_s, u"\t"_s, u"\u0001"_s, u"\u007f"_s, u"\\x41"_s, u"%"_s, u"Rem"_s,
        };
        const int kind = bounded(10);
        const int length = kind == 0 ? 0 : kind < 8 ? bounded(40) : 700 + bounded(40000);
        return testsupport::randomPieces(m_random, atoms, length, multiLine ? 12 : 0);
    }

    QString word()
    {
        static const QStringList words{u"txt"_s, u"bas"_s, u"csv"_s, u"dätä"_s, u"a\\b"_s, u"q\""_s};
        return words.at(bounded(int(words.size())));
    }

    int bounded(int n) { return int(m_random.bounded(n)); }
    bool coin() { return bounded(2) == 0; }

private:
    QRandomGenerator m_random;
};

MsgBoxFields randomMsgBox(Fields &r)
{
    MsgBoxFields fields;
    fields.message = r.text(true);
    fields.title = r.text(false);
    fields.style = {r.bounded(6), 256 * r.bounded(3), 16 * r.bounded(5), r.coin() ? vbSystemModal : 0};
    fields.help = {r.coin(), r.coin(), r.text(false), QString::number(r.bounded(100))};
    return fields;
}

InputBoxFields randomInputBox(Fields &r)
{
    InputBoxFields fields;
    fields.message = r.text(true);
    fields.title = r.text(false);
    fields.defaultAnswer = r.text(false);
    fields.variableName = QStringList{u"Response"_s, u"Answer"_s, u"PromptText"_s}.at(r.bounded(3));
    fields.declareVariable = r.coin();
    fields.help.help = r.coin();
    return fields;
}

CommonDialogFields randomCommonDialog(Fields &r)
{
    CommonDialogFields fields;
    fields.page = DialogKind(r.bounded(5));
    fields.openTitle = r.text(false);
    fields.saveTitle = r.text(false);
    fields.saveDefaultExtension = r.coin() ? QString() : r.word();
    for (int i = r.bounded(5); i > 0; --i)
        fields.openFileTypes << r.word();
    for (int i = r.bounded(5); i > 0; --i)
        fields.saveFileTypes << r.word();
    fields.fonts = FontsToDisplay(r.bounded(3));
    fields.customColors = r.coin();
    fields.printToFile = r.coin();
    return fields;
}

QString messageKind(const MsgBoxFields &fields)
{
    const bool several = fields.style.buttonSet != vbOKOnly;
    switch (fields.style.icon) {
    case vbCritical:
        return u"Error"_s;
    case vbExclamation:
        return u"Warning"_s;
    case vbQuestion:
        return u"Question"_s;
    case vbInformation:
        return several ? u"Question"_s : u"Info"_s;
    }
    return several ? u"Question"_s : QString();
}

} // namespace

class TestGambasBasic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void snippetsRunWithTheTypedTexts();

private:
    void addMsgBox(GambasRun &run, const QString &label, const MsgBoxFields &fields);
    void addInputBox(GambasRun &run, const QString &label, const InputBoxFields &fields);
    void addCommonDialog(GambasRun &run, const QString &label, const CommonDialogFields &fields);
};

void TestGambasBasic::addMsgBox(GambasRun &run, const QString &label, const MsgBoxFields &fields)
{
    QString code = generateMsgBoxCode(fields, Gambas);
    const int replaced = replaceAll(code, u"^((?:Response = )?)Message\\.(\\w+)\\("_s, u"\\1RecordMessage(\"\\2\", "_s)
                         + replaceAll(code, u"^Message\\("_s, u"RecordMessage(\"\", "_s);
    QCOMPARE(replaced, 1);
    QStringList buttons = gambasButtonTexts(fields.style.buttonSet);
    while (buttons.size() < 3)
        buttons << QString();
    run.add({label, code,
             "1;" + framed(fields.message) + framed(fields.title) + framed(buttons.join(u'|'))
                 + messageKind(fields).toUtf8() + ";",
             {}});
}

void TestGambasBasic::addInputBox(GambasRun &run, const QString &label, const InputBoxFields &fields)
{
    QString code = generateInputBox(fields, Gambas);
    QCOMPARE(replaceAll(code, u" = InputBox\\("_s, u" = RecordInputBox("_s), 1);
    run.add({label, code,
             "1;" + framed(fields.message) + framed(fields.title) + framed(fields.defaultAnswer) + ";",
             fields.declareVariable ? QString() : fields.variableName});
}

void TestGambasBasic::addCommonDialog(GambasRun &run, const QString &label, const CommonDialogFields &fields)
{
    QString code = generateCommonDialogCode(fields, Gambas);
    int replaced = replaceAll(code, u"Dialog\\.(OpenFile|SaveFile|SelectFont|SelectColor)\\(\\)"_s,
                              u"RecordDialog(\"\\1\")"_s);
    replaced += replaceAll(code, u"PrinterSetup\\.Configure\\(\\)"_s, u"RecordConfigure(PrinterSetup)"_s);
    QCOMPARE(replaced, 1);
    QByteArray expected = "1;";
    QString path = u"/tmp/picked"_s;
    const auto fileDialog = [&](const QString &title, const QStringList &types, const QString &kind) {
        QStringList filter;
        for (const QString &type : types)
            filter << u"*."_s + type << type + u" Files"_s;
        expected += framed(title) + framed(filter.join(u'|')) + kind.toUtf8();
    };
    switch (fields.page) {
    case DialogKind::Open:
        fileDialog(fields.openTitle, fields.openFileTypes, u"OpenFile"_s);
        break;
    case DialogKind::Save:
        fileDialog(fields.saveTitle, fields.saveFileTypes, u"SaveFile"_s);
        if (!fields.saveDefaultExtension.isEmpty())
            path += u'.' + fields.saveDefaultExtension;
        break;
    case DialogKind::Font:
    case DialogKind::Color:
        // Whatever the earlier snippets left in the title and filter.
        expected.clear();
        break;
    case DialogKind::Printer:
        expected += "Configure Printer";
        path.clear();
        break;
    }
    if (!expected.isEmpty())
        expected += ';' + path.toUtf8();
    run.add({label, code, expected, {}});
}

void TestGambasBasic::snippetsRunWithTheTypedTexts()
{
    const QString gbs3 = QStandardPaths::findExecutable(u"gbs3"_s);
    const QString xvfbRun = QStandardPaths::findExecutable(u"xvfb-run"_s);
    if (gbs3.isEmpty() || xvfbRun.isEmpty())
        QSKIP("gbs3 or xvfb-run is not installed; scripts/deps installs them");
    for (const char *component : {"gb.qt5", "gb.form"}) {
        if (!QFileInfo::exists(u"/usr/lib/gambas3/%1.component"_s.arg(QLatin1StringView(component))))
            QSKIP(qPrintable(u"Gambas's %1 is not installed; scripts/deps installs it"_s.arg(
                QLatin1StringView(component))));
    }

    GambasRun run(gbs3, xvfbRun);
    // Long enough to be cut over lines, and to be built up in a variable.
    const QString longText = QString(3000, u'x') + u"\"\\\r\n"_s + QString(90000, u'y');
    const QString longLine = QString(3000, u'x') + u"\\\""_s + QString(90000, u'y');
    const QString controls = u"a\u0001\u0007\u001b[0m\u007f\tc\nd\u001f\\x41"_s;

    for (int set = vbOKOnly; set <= vbRetryCancel; ++set) {
        for (int icon = 0; icon <= vbInformation; icon += 16) {
            MsgBoxFields fields;
            fields.message = u"Line \"one\"\r\nline \\two\\"_s;
            fields.title = u"Title \"x\" \\"_s;
            fields.style = {set, vbDefaultButton2, icon, set % 2 ? vbSystemModal : 0};
            fields.help = {set % 2 == 0, true, u"help.hlp"_s, u"12"_s};
            addMsgBox(run, u"msgbox set %1 icon %2"_s.arg(set).arg(icon), fields);
        }
    }
    addMsgBox(run, u"msgbox long"_s, {longText, longLine, {vbYesNoCancel, 0, vbQuestion, 0}, {}});
    addMsgBox(run, u"msgbox control characters"_s, {controls + u"\r\n"_s + controls, controls, {}, {}});
    addMsgBox(run, u"msgbox empty"_s, {});
    addInputBox(run, u"inputbox plain"_s, {u"T"_s, u"Name?"_s, u"D"_s, {}, u"Response"_s, false});
    addInputBox(run, u"inputbox help"_s,
                {u"\"T\""_s, u"A\r\n\"B\"\\"_s, u"\\D\""_s, {true, true, u"x.hlp"_s, u"3"_s}, u"Answer"_s, true});
    addInputBox(run, u"inputbox long"_s, {longLine, longText, longLine, {}, u"PromptText"_s, true});
    addInputBox(run, u"inputbox control characters"_s, {controls, controls, controls, {}, u"Response"_s, true});
    for (int page = 0; page < 5; ++page) {
        for (const bool flags : {false, true}) {
            CommonDialogFields fields;
            fields.page = DialogKind(page);
            fields.openFileTypes = {u"txt"_s, u"doc"_s, u"a\\\"b"_s};
            fields.saveFileTypes = flags ? QStringList{} : QStringList{u"txt"_s};
            fields.saveDefaultExtension = flags ? QString() : u"b\\as"_s;
            fields.fonts = flags ? FontsToDisplay::PrinterOnly : FontsToDisplay::Both;
            fields.customColors = !flags;
            fields.printToFile = !flags;
            fields.openTitle = flags ? longLine : u"Open \"x\""_s;
            addCommonDialog(run, u"commondialog page %1 %2"_s.arg(page).arg(flags), fields);
        }
    }
    CommonDialogFields manyTypes;
    for (int i = 0; i < 250; ++i)
        manyTypes.openFileTypes << u"t"_s + QString::number(i);
    addCommonDialog(run, u"commondialog many types"_s, manyTypes);
    run.add({u"header"_s,
             header::generateHeaderBlock({u"P"_s, u"Q\\"_s, u"1"_s, u"d"_s, u"c\""_s, longLine}, Gambas), "0;;", {}});

    const quint32 seed = testsupport::seed("random fields");
    Fields random(seed);
    for (int i = 0; i < 16; ++i) {
        const QString label = u"random seed %1 #%2"_s.arg(seed).arg(i);
        addMsgBox(run, label + u" msgbox"_s, randomMsgBox(random));
        addInputBox(run, label + u" inputbox"_s, randomInputBox(random));
        addCommonDialog(run, label + u" commondialog"_s, randomCommonDialog(random));
    }
    if (QTest::currentTestFailed())
        return;

    QMap<int, QByteArray> results;
    QElapsedTimer timer;
    timer.start();
    QString error;
    const bool finished = run.run(&results, &error, 180000);
    qInfo("%lld snippets in one gbs3 run: %lld ms", qlonglong(run.snippets().size()), timer.elapsed());
    QVERIFY2(finished, qPrintable(error));

    int failures = 0;
    for (int i = 0; i < run.snippets().size(); ++i) {
        const Snippet &snippet = run.snippets().at(i);
        const QByteArray actual = results.value(i, "(no result)");
        // Font and colour snippets only have to run: a record, no error.
        const bool ok = snippet.expected.isEmpty() ? actual.startsWith("1;") : actual == snippet.expected;
        if (!ok) {
            ++failures;
            qWarning().noquote() << "snippet" << i << snippet.label << "\n  reported:" << actual.left(300)
                                 << "\n  expected:" << snippet.expected.left(300) << "\n  code:\n"
                                 << snippet.code.left(3000);
        }
    }
    QCOMPARE(failures, 0);
}

QTEST_GUILESS_MAIN(TestGambasBasic)
#include "tst_gambasbasic.moc"
