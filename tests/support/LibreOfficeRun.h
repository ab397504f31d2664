// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// LibreOffice itself, headless, for the tests that run BASIC in it: snippets
// go into Basic libraries of their own in a throwaway profile, and one
// soffice run calls each snippet's Check, whose result comes back in a
// report. Message and input boxes run with MsgBox and InputBox replaced by
// functions that record their arguments.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace libreoffice {

using namespace Qt::StringLiterals;

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
    // The code is a whole module of its own that defines Sub Snippet,
    // rather than that Sub's body.
    bool wholeModule = false;
};

// A text as the module reports it: its length in UTF-16 code units, a colon
// and the text, so that any character reads back unambiguously.
inline QString framed(const QString &text)
{
    return QString::number(text.size()) + u':' + text;
}

inline QString xmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// Replaces the call's MsgBox or InputBox with the recording function. The
// call starts its line: continuation lines start with an operand.
inline QString withRecorder(const QString &code, const QString &function, const QString &recorder, int *replaced)
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

inline const QString recorders = uR"(
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
        if (snippet.wholeModule) {
            source += u"\n"_s + code + u"\n"_s;
        } else {
            source += u"\nSub Snippet\n"_s;
            if (!snippet.undeclared.isEmpty())
                source += u"Dim "_s + snippet.undeclared + u" As String\n"_s;
            source += code + u"\nEnd Sub\n"_s;
        }
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

} // namespace libreoffice
