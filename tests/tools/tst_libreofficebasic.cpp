// SPDX-License-Identifier: GPL-3.0-or-later
// The LibreOffice Basic dialect checked in LibreOffice itself: every snippet
// of a table and of random fields, for every tool and both constants styles,
// goes into a Basic library of its own (Option Explicit, no VBASupport) in a
// throwaway profile; after a start that lays out the profile, one headless
// soffice run calls each. Message and input boxes run with MsgBox and
// InputBox replaced by functions that record their arguments, which must be
// the typed ones; the file pickers run up to their dialog. Buttons arguments
// that fix rewrites are evaluated before and after, in Visual Basic mode for
// the vb… names.

#include "codegen/CodeOptions.h"
#include "fix/ModuleFixer.h"
#include "tools/commondialog/CommonDialogGenerator.h"
#include "tools/header/HeaderGenerator.h"
#include "tools/inputbox/InputBoxGenerator.h"
#include "tools/msgbox/MsgBoxGenerator.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

using Constants = codegen::CodeOptions::Constants;

struct Snippet
{
    QString label;
    QString code;
    // What the recording function must have been called with, as the
    // module reports it; empty for code that is only compiled.
    QString expected;
    // Variable that the snippet assigns without declaring it.
    QString undeclared;
    // Run in LibreOffice's Visual Basic mode, where vbYesNo and the rest
    // are defined.
    bool vbaSupport = false;
};

// A text as the module reports it: its length in UTF-16 code units, a colon
// and the text, so that any character reads back unambiguously.
QString framed(const QString &text)
{
    return QString::number(text.size()) + u':' + text;
}

QString xmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// Replaces the call's MsgBox or InputBox with the recording function. The
// call starts its line: continuation lines start with an operand.
QString withRecorder(const QString &code, const QString &function, const QString &recorder, int *replaced)
{
    const QRegularExpression call(u"^((?:\\w+ = )?)"_s + function + u" "_s,
                                  QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    QString out = code;
    *replaced = 0;
    qsizetype from = 0;
    for (;;) {
        const QRegularExpressionMatch match = call.match(out, from);
        if (!match.hasMatch())
            break;
        const QString replacement = match.captured(1) + recorder + u' ';
        out.replace(match.capturedStart(), match.capturedLength(), replacement);
        from = match.capturedStart() + replacement.size();
        ++*replaced;
    }
    return out;
}

const QString recorders = uR"(
Private RecordedPrompt As String
Private RecordedTitle As String
Private RecordedDefault As String
Private RecordedButtons As Long
Private Recorded As Integer

Function RecordMsgBox(Prompt As String, Buttons As Integer, Title As String) As Integer
  RecordedPrompt = Prompt
  RecordedButtons = Buttons
  RecordedTitle = Title
  Recorded = Recorded + 1
  RecordMsgBox = 1
End Function

' The file picker's execute(): cancelled.
Function RecordExecute() As Integer
  Recorded = Recorded + 1
  RecordExecute = com.sun.star.ui.dialogs.ExecutableDialogResults.CANCEL
End Function

Function RecordInputBox(Prompt As String, Title As String, DefaultText As String) As String
  RecordedPrompt = Prompt
  RecordedTitle = Title
  RecordedDefault = DefaultText
  Recorded = Recorded + 1
  RecordInputBox = DefaultText
End Function
)"_s;

class LibreOfficeRun
{
public:
    explicit LibreOfficeRun(const QString &soffice) : m_soffice(soffice)
    {
        // For a look at the profile and the report after a failure.
        m_dir.setAutoRemove(qEnvironmentVariableIsEmpty("QUILLKIT_KEEP_LIBREOFFICE_DIR"));
    }

    bool prepare(QString *error)
    {
        if (!m_dir.isValid()) {
            *error = u"no temporary directory"_s;
            return false;
        }
        for (const char *sub : {"home", "tmp", "cache", "config"})
            QDir(m_dir.path()).mkpath(QString::fromLatin1(sub));
        // The first start lays out the profile, its Basic libraries
        // included, over anything put there before.
        return start({u"--terminate_after_init"_s}, 120000, error);
    }

    void add(const Snippet &snippet) { m_snippets << snippet; }
    const QList<Snippet> &snippets() const { return m_snippets; }

    // Writes the libraries and runs the driver; the report's lines by
    // snippet number, or an error.
    bool run(QMap<int, QString> *results, QString *error, int timeoutMs)
    {
        const QString basic = m_dir.path() + u"/profile/user/basic"_s;
        if (!QFileInfo::exists(basic + u"/script.xlc"_s)) {
            *error = u"the first start left no Basic libraries in the profile"_s;
            return false;
        }
        QString libraries;
        for (int i = 0; i < m_snippets.size(); ++i) {
            const QString name = libraryName(i);
            writeLibrary(basic, name, u"Snippet"_s, moduleSource(m_snippets.at(i)));
            libraries += u" <library:library library:name=\""_s + name + u"\" xlink:href=\"$(USER)/basic/"_s + name
                         + u"/script.xlb/\" xlink:type=\"simple\" library:link=\"false\"/>\n"_s;
        }
        writeLibrary(basic, u"Standard"_s, u"Driver"_s, driverSource());
        writeFile(basic + u"/script.xlc"_s,
                  u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<!DOCTYPE library:libraries PUBLIC \"-//OpenOffice.org//DTD OfficeDocument 1.0//EN\" "
                  "\"libraries.dtd\">\n"
                  "<library:libraries xmlns:library=\"http://openoffice.org/2000/library\" "
                  "xmlns:xlink=\"http://www.w3.org/1999/xlink\">\n"
                  " <library:library library:name=\"Standard\" library:link=\"false\"/>\n"_s
                      + libraries + u"</library:libraries>\n"_s);

        const bool finished = start({u"macro:///Standard.Driver.Main"_s}, timeoutMs, error);
        QFile report(reportPath());
        const QString text = report.open(QIODevice::ReadOnly) ? QString::fromUtf8(report.readAll()) : QString();
        parse(text, results);
        if (!finished) {
            // Name the snippet it was busy with: a compile or runtime error
            // that opened a dialog.
            QFile progressFile(progressPath());
            const QString progress =
                progressFile.open(QIODevice::ReadOnly) ? QString::fromLatin1(progressFile.readAll()) : QString();
            static const QRegularExpression begun(u"^BEGIN (\\d+)\\r?$"_s, QRegularExpression::MultilineOption);
            int last = -1;
            for (const QRegularExpressionMatch &m : begun.globalMatch(progress))
                last = m.captured(1).toInt();
            if (last >= 0 && last < m_snippets.size()) {
                *error += u"\nstopped in snippet "_s + QString::number(last) + u" ("_s + m_snippets.at(last).label
                          + u"):\n"_s + m_snippets.at(last).code.left(4000);
            }
            return false;
        }
        if (!text.contains(u"\nDONE\n"_s)) {
            *error = u"the driver did not finish; its report:\n"_s + text.right(2000);
            return false;
        }
        return true;
    }

private:
    static QString libraryName(int i) { return u"QkSnippet"_s + QString::number(i); }
    QString reportPath() const { return m_dir.path() + u"/report.txt"_s; }
    QString progressPath() const { return m_dir.path() + u"/progress.txt"_s; }

    static void writeFile(const QString &path, const QString &text)
    {
        QFile file(path);
        QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
        file.write(text.toUtf8());
    }

    static void writeLibrary(const QString &basic, const QString &name, const QString &module, const QString &source)
    {
        const QString dir = basic + u'/' + name;
        QDir().mkpath(dir);
        writeFile(dir + u"/script.xlb"_s,
                  u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<!DOCTYPE library:library PUBLIC \"-//OpenOffice.org//DTD OfficeDocument 1.0//EN\" "
                  "\"library.dtd\">\n"
                  "<library:library xmlns:library=\"http://openoffice.org/2000/library\" library:name=\""_s
                      + name + u"\" library:readonly=\"false\" library:passwordprotected=\"false\">\n"
                               " <library:element library:name=\""_s
                      + module + u"\"/>\n</library:library>\n"_s);
        writeFile(dir + u'/' + module + u".xba"_s,
                  u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<!DOCTYPE script:module PUBLIC \"-//OpenOffice.org//DTD OfficeDocument 1.0//EN\" "
                  "\"module.dtd\">\n"
                  "<script:module xmlns:script=\"http://openoffice.org/2000/script\" script:name=\""_s
                      + module + u"\" script:language=\"StarBasic\">"_s + xmlEscaped(source)
                      + u"</script:module>\n"_s);
    }

    static QString moduleSource(const Snippet &snippet)
    {
        QString source = (snippet.vbaSupport ? u"Option VBASupport 1\n"_s : QString()) + u"Option Explicit\n"_s + recorders;
        QString code = snippet.code;
        code.replace(u"\r\n"_s, u"\n"_s);
        source += u"\nSub Snippet\n"_s;
        if (!snippet.undeclared.isEmpty())
            source += u"Dim "_s + snippet.undeclared + u" As String\n"_s;
        source += code + u"\nEnd Sub\n"_s;
        // Runs only what records; the others only have to compile.
        source += u"\nFunction Check() As String\n"
                  "  On Error Goto Failed\n"_s;
        if (!snippet.expected.isEmpty())
            source += u"  Snippet\n"_s;
        source += uR"(  Check = Recorded & ";" & Len(RecordedPrompt) & ":" & RecordedPrompt & Len(RecordedTitle) & ":" & RecordedTitle & Len(RecordedDefault) & ":" & RecordedDefault & RecordedButtons
  Exit Function
Failed:
  Check = "runtime error " & Err & " in line " & Erl & ": " & Error$
End Function
)"_s;
        return source;
    }

    QString driverSource() const
    {
        return uR"(Option Explicit
Sub Main
  Dim FileAccess As Object, ReportFile As Object, Report As Object, Provider As Object, Script As Object
  Dim I As Long, LibraryName As String, Result As String
  FileAccess = CreateUnoService("com.sun.star.ucb.SimpleFileAccess")
  ReportFile = FileAccess.openFileWrite(")"_s
               + QUrl::fromLocalFile(reportPath()).toString() + uR"(")
  Report = CreateUnoService("com.sun.star.io.TextOutputStream")
  Report.setOutputStream(ReportFile)
  Report.setEncoding("UTF-8")
  Provider = GetDefaultContext().getByName("/singletons/com.sun.star.script.provider.theMasterScriptProviderFactory").createScriptProvider("")
  For I = 0 To )"_s + QString::number(m_snippets.size() - 1)
               + uR"(
    LibraryName = "QkSnippet" & I
    ' Closed at once, so that it is on disk when LibreOffice hangs and is
    ' killed; the report's stream keeps what it writes until its end.
    Open ")"_s + progressPath() + uR"(" For Append As #1
    Print #1, "BEGIN " & I
    Close #1
    On Error Goto Failed
    Script = Provider.getScript("vnd.sun.star.script:" & LibraryName & ".Snippet.Check?language=Basic&location=application")
    Result = Script.invoke(Array(), Array(), Array())
    On Error Goto 0
    Report.writeString("END " & I & " " & Len(Result) & ":" & Result & Chr$(10))
    Goto NextSnippet
Failed:
    Report.writeString("END " & I & " " & "failed: " & Err & " " & Error$ & Chr$(10))
    Resume NextSnippet
NextSnippet:
  Next
  Report.writeString("DONE" & Chr$(10))
  Report.closeOutput()
End Sub
)"_s;
    }

    static void parse(const QString &text, QMap<int, QString> *results)
    {
        // "END n len:result\n", the result holding any character.
        qsizetype at = 0;
        for (;;) {
            at = text.indexOf(u"END "_s, at);
            if (at < 0)
                return;
            if (at > 0 && text.at(at - 1) != u'\n') {
                at += 4;
                continue;
            }
            const qsizetype space = text.indexOf(u' ', at + 4);
            const qsizetype colon = space < 0 ? -1 : text.indexOf(u':', space);
            if (colon < 0)
                return;
            const int index = text.sliced(at + 4, space - at - 4).toInt();
            bool ok = false;
            const qsizetype length = text.sliced(space + 1, colon - space - 1).toLongLong(&ok);
            if (!ok) {
                // A failure line: up to its line break.
                const qsizetype end = text.indexOf(u'\n', space);
                results->insert(index, text.sliced(space + 1, (end < 0 ? text.size() : end) - space - 1));
                at = space;
                continue;
            }
            results->insert(index, text.sliced(colon + 1, std::min(length, text.size() - colon - 1)));
            at = colon + 1 + length;
        }
    }

    bool start(const QStringList &arguments, int timeoutMs, QString *error)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // Nothing outside the temporary directory, no display.
        env.insert(u"HOME"_s, m_dir.path() + u"/home"_s);
        env.insert(u"TMPDIR"_s, m_dir.path() + u"/tmp"_s);
        env.insert(u"XDG_CACHE_HOME"_s, m_dir.path() + u"/cache"_s);
        env.insert(u"XDG_CONFIG_HOME"_s, m_dir.path() + u"/config"_s);
        env.insert(u"SAL_USE_VCLPLUGIN"_s, u"svp"_s);
        env.remove(u"DISPLAY"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        env.remove(u"SESSION_MANAGER"_s);
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_dir.path());
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setStandardInputFile(QProcess::nullDevice());
        const QStringList common{
            u"--headless"_s,     u"--invisible"_s, u"--norestore"_s, u"--nologo"_s, u"--nolockcheck"_s,
            u"--nodefault"_s,
            u"-env:UserInstallation="_s + QUrl::fromLocalFile(m_dir.path() + u"/profile"_s).toString(),
        };
        // soffice.bin itself: the launcher before it may outlive a kill.
        process.start(m_soffice, common + arguments);
        if (!process.waitForStarted(30000)) {
            *error = u"cannot start "_s + m_soffice + u": "_s + process.errorString();
            return false;
        }
        if (!process.waitForFinished(timeoutMs)) {
            process.kill();
            process.waitForFinished(10000);
            *error = u"LibreOffice did not finish within "_s + QString::number(timeoutMs / 1000)
                     + u" s and was stopped; its output:\n"_s + QString::fromLocal8Bit(process.readAll());
            return false;
        }
        if (process.exitStatus() != QProcess::NormalExit) {
            *error = u"LibreOffice crashed; its output:\n"_s + QString::fromLocal8Bit(process.readAll());
            return false;
        }
        return true;
    }

    QString m_soffice;
    QTemporaryDir m_dir;
    QList<Snippet> m_snippets;
};

// Random fields: texts with quotation marks, line breaks, accents, CJK and
// characters beyond the BMP, now and then long enough for the line limits.
class Fields
{
public:
    explicit Fields(quint32 seed) : m_random(seed) {}

    QString text(bool multiLine)
    {
        static const QStringList atoms{
            u"a"_s, u"Z"_s, u"7"_s, u" "_s, u"\""_s, u"\"\""_s, u"'"_s, u"&"_s, u"_"_s, u"é"_s, u"ß"_s,
            u"中"_s, u"\U0001F600"_s, u"Chr$(34)"_s, u"vbCrLf"_s, u"\\"_s, u"%"_s, u"<>"_s, u"Rem"_s,
        };
        const int kind = bounded(10);
        const int length = kind == 0 ? 0 : kind < 8 ? bounded(40) : 700 + bounded(3000);
        QString out;
        for (int i = 0; i < length; ++i) {
            if (multiLine && bounded(12) == 0)
                out += u"\r\n"_s;
            else
                out += atoms.at(bounded(int(atoms.size())));
        }
        return out;
    }

    QString word()
    {
        static const QStringList words{u"txt"_s, u"bas"_s, u"doc"_s, u"csv"_s, u"x"_s, u"dätä"_s, u"*"_s, u"a b"_s};
        return words.at(bounded(int(words.size())));
    }

    int bounded(int n) { return int(m_random.bounded(n)); }
    bool coin() { return bounded(2) == 0; }

private:
    QRandomGenerator m_random;
};

HelpFields randomHelp(Fields &r)
{
    return {r.coin(), r.coin(), r.text(false), QString::number(r.bounded(1000))};
}

MsgBoxFields randomMsgBox(Fields &r)
{
    MsgBoxFields fields;
    fields.message = r.text(true);
    fields.title = r.text(false);
    fields.style.buttonSet = r.bounded(6);
    fields.style.icon = 16 * r.bounded(5);
    fields.style.defaultButton = 256 * r.bounded(3);
    fields.style.modality = r.coin() ? vbSystemModal : vbApplicationModal;
    fields.help = randomHelp(r);
    return fields;
}

InputBoxFields randomInputBox(Fields &r)
{
    InputBoxFields fields;
    fields.message = r.text(true);
    fields.title = r.text(false);
    fields.defaultAnswer = r.text(false);
    fields.variableName = QStringList{u"Response"_s, u"Answer"_s, u"UserName"_s}.at(r.bounded(3));
    fields.declareVariable = r.coin();
    fields.help = randomHelp(r);
    return fields;
}

HeaderFields randomHeader(Fields &r)
{
    return {r.text(false), r.text(false), r.text(false), r.text(false), r.text(false), r.text(false)};
}

CommonDialogFields randomCommonDialog(Fields &r)
{
    CommonDialogFields fields;
    fields.page = DialogKind(r.bounded(5));
    fields.openTitle = r.text(false);
    fields.saveTitle = r.text(false);
    fields.saveDefaultExtension = r.coin() ? QString() : r.word();
    for (int i = r.bounded(5); i > 0; --i)
        fields.openFileTypes << (r.bounded(4) == 0 ? r.text(false) : r.word());
    for (int i = r.bounded(5); i > 0; --i)
        fields.saveFileTypes << (r.bounded(4) == 0 ? r.text(false) : r.word());
    fields.fonts = FontsToDisplay(r.bounded(3));
    fields.customColors = r.coin();
    fields.printToFile = r.coin();
    return fields;
}

} // namespace

class TestLibreOfficeBasic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void snippetsCompileAndPassTheTypedTexts();

private:
    void addMsgBox(LibreOfficeRun &run, const QString &label, const MsgBoxFields &fields, Constants constants);
    void addInputBox(LibreOfficeRun &run, const QString &label, const InputBoxFields &fields, Constants constants);
    void addCompiled(LibreOfficeRun &run, const QString &label, const QString &code);
    void addCommonDialog(LibreOfficeRun &run, const QString &label, const CommonDialogFields &fields,
                         const codegen::CodeOptions &options);
};

void TestLibreOfficeBasic::addMsgBox(LibreOfficeRun &run, const QString &label, const MsgBoxFields &fields,
                                     Constants constants)
{
    const codegen::CodeOptions options{constants, codegen::CodeOptions::Dialect::LibreOffice};
    int replaced = 0;
    const QString code = withRecorder(generateMsgBoxCode(fields, options), u"Msgbox"_s, u"RecordMsgBox"_s, &replaced);
    QCOMPARE(replaced, 1);
    const qint32 buttons = msgBoxButtonsValue(fields) & ~vbMsgBoxHelpButton;
    run.add({label, code, u"1;"_s + framed(fields.message) + framed(fields.title) + framed({}) + QString::number(buttons),
             {}});
}

void TestLibreOfficeBasic::addInputBox(LibreOfficeRun &run, const QString &label, const InputBoxFields &fields,
                                       Constants constants)
{
    const codegen::CodeOptions options{constants, codegen::CodeOptions::Dialect::LibreOffice};
    int replaced = 0;
    const QString code = withRecorder(generateInputBox(fields, options), u"InputBox"_s, u"RecordInputBox"_s, &replaced);
    QCOMPARE(replaced, 1);
    run.add({label, code,
             u"1;"_s + framed(fields.message) + framed(fields.title) + framed(fields.defaultAnswer) + u'0',
             fields.declareVariable ? QString() : fields.variableName});
}

void TestLibreOfficeBasic::addCompiled(LibreOfficeRun &run, const QString &label, const QString &code)
{
    run.add({label, code, {}, {}});
}

void TestLibreOfficeBasic::addCommonDialog(LibreOfficeRun &run, const QString &label,
                                           const CommonDialogFields &fields, const codegen::CodeOptions &options)
{
    QString code = generateCommonDialogCode(fields, options);
    // The font and print dialogs need a document, and the color picker's
    // library comes only with the GUI build of LibreOffice, not the nogui one
    // installed here: those only compile. The file picker runs up to its
    // dialog, which a recorder stands in for, cancelled.
    if (fields.page != DialogKind::Open && fields.page != DialogKind::Save) {
        addCompiled(run, label, code);
        return;
    }
    const QString execute = u"FilePicker.execute()"_s;
    QCOMPARE(code.count(execute), 1);
    code.replace(execute, u"RecordExecute()"_s);
    run.add({label, code, u"1;0:0:0:0"_s, {}});
}

void TestLibreOfficeBasic::snippetsCompileAndPassTheTypedTexts()
{
    QString soffice = qEnvironmentVariable("QUILLKIT_SOFFICE");
    if (soffice.isEmpty())
        soffice = u"/usr/lib/libreoffice/program/soffice.bin"_s;
    if (!QFileInfo(soffice).isExecutable())
        QSKIP(qPrintable(u"LibreOffice is not installed (%1); scripts/deps installs it"_s.arg(soffice)));

    LibreOfficeRun run(soffice);
    QElapsedTimer timer;
    timer.start();
    QString error;
    QVERIFY2(run.prepare(&error), qPrintable(error));
    qInfo("profile laid out in %lld ms", timer.elapsed());

    // Long enough to be built up in variables; a message or header
    // description over lines, a title or default answer on one.
    const QString longText = QString(3000, u'x') + u"\"\r\n"_s + QString(30000, u'y');
    const QString longLine = QString(3000, u'x') + u"\""_s + QString(30000, u'y');
    for (const Constants constants : {Constants::Numbers, Constants::Names}) {
        const QString style = constants == Constants::Names ? u"names "_s : u"numbers "_s;
        // The table: each button set, icon, default and modality, help on,
        // and a text long enough to be built up in variables.
        for (int set = vbOKOnly; set <= vbRetryCancel; ++set) {
            MsgBoxFields fields;
            fields.message = u"Line \"one\"\r\nline two"_s;
            fields.title = u"Title \"x\""_s;
            fields.style = {set, set == 3 ? vbDefaultButton3 : vbDefaultButton2, 16 * (set % 5),
                            set % 2 ? vbSystemModal : vbApplicationModal};
            fields.help = {set % 2 == 0, set % 3 == 0, u"help.hlp"_s, u"12"_s};
            addMsgBox(run, style + u"msgbox set "_s + QString::number(set), fields, constants);
        }
        addMsgBox(run, style + u"msgbox long"_s, {longText, longLine, {vbYesNo, 0, vbQuestion, 0}, {}}, constants);
        addInputBox(run, style + u"inputbox plain"_s, {u"T"_s, u"Name?"_s, u"D"_s, {}, u"Response"_s, false},
                    constants);
        addInputBox(run, style + u"inputbox help"_s,
                    {u"\"T\""_s, u"A\r\n\"B\""_s, u"\"D\""_s, {true, true, u"x.hlp"_s, u"3"_s}, u"Answer"_s, true},
                    constants);
        addInputBox(run, style + u"inputbox long"_s, {longLine, longText, longLine, {}, u"Response"_s, true},
                    constants);
        // Control characters, which a module cannot hold as they are: Chr$
        // codes, a lone line feed among them.
        const QString controls = u"a\u0000b\u0001\u0007\u001b[0m\u007f\tc\nd\u001f"_s;
        addMsgBox(run, style + u"msgbox control characters"_s,
                  {controls + u"\r\n"_s + controls, controls, {vbOKCancel, 0, vbCritical, 0}, {}}, constants);
        addInputBox(run, style + u"inputbox control characters"_s,
                    {controls, controls + u"\r\n"_s, controls, {}, u"Response"_s, true}, constants);
        const codegen::CodeOptions options{constants, codegen::CodeOptions::Dialect::LibreOffice};
        CommonDialogFields controlTitle;
        controlTitle.openTitle = controls;
        controlTitle.openFileTypes = {u"txt"_s};
        addCommonDialog(run, style + u"commondialog control characters"_s, controlTitle, options);
        addCompiled(run, style + u"header"_s,
                    header::generateHeaderBlock({u"P"_s, u"Q"_s, u"1"_s, u"d"_s, u"c"_s, longLine}, options));
        for (int page = 0; page < 5; ++page) {
            for (const bool flags : {false, true}) {
                CommonDialogFields fields;
                fields.page = DialogKind(page);
                fields.openFileTypes = {u"txt"_s, u"doc"_s};
                fields.saveFileTypes = {u"txt"_s};
                fields.saveDefaultExtension = flags ? u"bas"_s : u"txt"_s;
                fields.fonts = flags ? FontsToDisplay::PrinterOnly : FontsToDisplay::Both;
                fields.customColors = !flags;
                fields.printToFile = !flags;
                fields.openTitle = flags ? longLine : u"Open"_s;
                addCommonDialog(run, style + u"commondialog page "_s + QString::number(page), fields, options);
            }
        }
        CommonDialogFields noTypes;
        noTypes.page = DialogKind::Save;
        addCommonDialog(run, style + u"commondialog save without types"_s, noTypes, options);

        const quint32 seed = qEnvironmentVariableIsSet("QUILLKIT_SEED")
                                 ? quint32(qEnvironmentVariable("QUILLKIT_SEED").toULong())
                                 : QRandomGenerator::global()->generate();
        qInfo("random fields, %s: seed %u", qPrintable(style), seed);
        Fields random(seed);
        for (int i = 0; i < 12; ++i) {
            const QString label = style + u"random seed "_s + QString::number(seed) + u" #"_s + QString::number(i);
            addMsgBox(run, label + u" msgbox"_s, randomMsgBox(random), constants);
            addInputBox(run, label + u" inputbox"_s, randomInputBox(random), constants);
            addCompiled(run, label + u" header"_s, header::generateHeaderBlock(randomHeader(random), options));
            addCommonDialog(run, label + u" commondialog"_s, randomCommonDialog(random), options);
        }
    }
    // What fix writes means what it replaces: buttons arguments with numbers,
    // before and after, evaluated by LibreOffice itself, in its Visual Basic
    // mode for vb… names and plainly for MB_….
    const QStringList terms{u"1"_s, u"3"_s, u"4"_s, u"5"_s, u"16"_s, u"32"_s, u"48"_s, u"64"_s, u"256"_s, u"512"_s,
                            u"4096"_s, u"&H24"_s};
    QRandomGenerator random(2203);
    for (const auto dialect : {basic::Dialect::VisualBasic, basic::Dialect::LibreOffice}) {
        for (int k = 0; k < 12; ++k) {
            QStringList chosen;
            qint64 groups = 0;
            for (int n = 0; n < 1 + random.bounded(3); ++n) {
                const QString term = terms.at(random.bounded(terms.size()));
                const qint64 value = term.startsWith(u'&') ? 0x24 : term.toLongLong();
                const qint64 group = value < 16 ? 0xF : value == 0x24 ? 0xFF : value < 256 ? 0xF0 : value < 4096 ? 0xF00 : 0xF000;
                if (groups & group)
                    continue;
                groups |= group;
                chosen << term;
            }
            const QString before = chosen.join(u" + "_s);
            const fix::ModuleFixes fixes = fix::fixModule(QString(u"MsgBox \"m\", "_s + before), dialect);
            QCOMPARE(int(fixes.changes.size()), 1);
            const QString after = fixes.changes.front().replacement;
            QString value = QString::number([&] {
                qint64 sum = 0;
                for (const QString &term : chosen)
                    sum += term.startsWith(u'&') ? 0x24 : term.toLongLong();
                return sum;
            }());
            const QString shown = value + u'=' + value;
            Snippet snippet{u"fix "_s + before + u" -> "_s + after,
                            u"RecordedPrompt = CStr("_s + before + u") & \"=\" & CStr("_s + after + u')',
                            u"0;"_s + framed(shown) + u"0:0:0"_s,
                            {}};
            snippet.vbaSupport = dialect == basic::Dialect::VisualBasic;
            run.add(snippet);
        }
    }
    if (QTest::currentTestFailed())
        return;

    QMap<int, QString> results;
    timer.restart();
    const bool finished = run.run(&results, &error, qEnvironmentVariableIntValue("QUILLKIT_LIBREOFFICE_TIMEOUT") > 0 ? qEnvironmentVariableIntValue("QUILLKIT_LIBREOFFICE_TIMEOUT") * 1000 : 180000);
    qInfo("%lld snippets in one LibreOffice run: %lld ms", qlonglong(run.snippets().size()), timer.elapsed());
    QVERIFY2(finished, qPrintable(error));

    int failures = 0;
    for (int i = 0; i < run.snippets().size(); ++i) {
        const Snippet &snippet = run.snippets().at(i);
        // The compile-only modules report an empty record.
        const QString expected =
            snippet.expected.isEmpty() ? u"0;0:0:0:0"_s : snippet.expected;
        const QString actual = results.value(i, u"(no result)"_s);
        if (actual != expected) {
            ++failures;
            qWarning().noquote() << "snippet" << i << snippet.label << "\n  reported:" << actual.left(300)
                                 << "\n  expected:" << expected.left(300) << "\n  code:\n"
                                 << snippet.code.left(3000);
        }
    }
    QCOMPARE(failures, 0);
}

QTEST_GUILESS_MAIN(TestLibreOfficeBasic)
#include "tst_libreofficebasic.moc"
