// SPDX-License-Identifier: GPL-3.0-or-later
// A real editor: headless Neovim runs README.md's init.lua snippet as the
// user has it, opens a module (of any case of suffix, or a new one), waits
// for its diagnostics and writes the file; the snippet's fix on save must
// leave exactly the bytes `fix` writes in place.

#include "support/GenerateRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The Neovim snippet of README.md, verbatim.
QByteArray readmeSnippet()
{
    QFile readme(QStringLiteral(QUILLKIT_SOURCE_DIR "/README.md"));
    if (!readme.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = readme.readAll();
    const qsizetype section = text.indexOf("Neovim (0.7 or later), in `init.lua`:");
    const qsizetype start = text.indexOf("```lua\n", section);
    const qsizetype end = text.indexOf("\n```", start);
    if (section < 0 || start < 0 || end < 0)
        return {};
    return text.mid(start + 7, end + 1 - (start + 7));
}

// What the test does after the snippet: open, wait, write, quit.
const char *const Driver = R"lua(
local file = os.getenv('QUILLKIT98_TEST_FILE')
local typed = os.getenv('QUILLKIT98_TEST_TYPED') or ''
vim.o.writebackup = false
vim.cmd('edit ' .. vim.fn.fnameescape(file))
local buf = vim.api.nvim_get_current_buf()
if typed ~= '' then
  vim.api.nvim_buf_set_lines(buf, 0, -1, false, vim.split(typed, '\n', {plain = true}))
end
if vim.fn.executable('quillkit98') == 1 then
  if not vim.wait(30000, function() return #vim.diagnostic.get(buf) > 0 end, 20) then
    io.stderr:write('no diagnostics\n')
    vim.cmd('cquit 3')
  end
  io.stderr:write('diagnostics: ' .. #vim.diagnostic.get(buf) .. '\n')
  if vim.fn.maparg('K', 'n') ~= '' then io.stderr:write('K hovers\n') end
end
vim.cmd('write')
vim.cmd('qall!')
)lua";

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestLspNeovim : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readmeSnippetInNeovim_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("module"); // on disk before; none for a new file
        QTest::addColumn<QByteArray>("typed");  // the lines typed into the buffer
        QTest::addColumn<bool>("onPath");
        QTest::newRow("LF")
            << u"Module1.bas"_s
            << QByteArray("Sub A()\n    MsgBox \"Delete?\", 36\n    If MsgBox(\"Sure?\", 4) = 6 Then Beep\nEnd Sub\n")
            << QByteArray() << true;
        QTest::newRow("CR LF, Attribute lines, upper-case suffix")
            << u"MODULE1.BAS"_s
            << QByteArray("Attribute VB_Name = \"Module1\"\r\nSub A()\r\n  Dim R\r\n  R = MsgBox(\"Save?\", 3 + 48)\r\n"
                          "  Select Case R\r\n    Case 6, 7\r\n  End Select\r\nEnd Sub\r\n")
            << QByteArray() << true;
        QTest::newRow("UTF-8 with BOM and wide characters, mixed-case suffix")
            << u"Report.Cls"_s
            << QByteArray("\xEF\xBB\xBFSub A()\n  MsgBox \"Gr\xC3\xBC\xC3\x9F"
                          "e \xF0\x9F\x98\x80\", 64: MsgBox \"x\", 1 + 256\nEnd Sub\n")
            << QByteArray() << true;
        QTest::newRow("notes stay") << u"Module1.bas"_s
                                    << QByteArray("Sub A(n)\n  MsgBox \"x\", n\n  MsgBox \"y\", 48\nEnd Sub\n")
                                    << QByteArray() << true;
        QTest::newRow("a new file") << u"New.frm"_s << QByteArray()
                                    << QByteArray("Sub A()\n  If MsgBox(\"Go?\", 36) = 7 Then Exit Sub\nEnd Sub")
                                    << true;
        QTest::newRow("quillkit98 not on the PATH")
            << u"Module1.bas"_s << QByteArray("Sub A()\n  MsgBox \"x\", 36\nEnd Sub\n") << QByteArray() << false;
    }
    void readmeSnippetInNeovim()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, module);
        QFETCH(QByteArray, typed);
        QFETCH(bool, onPath);
        const QString nvim = QStandardPaths::findExecutable(u"nvim"_s);
        if (nvim.isEmpty())
            QSKIP("Neovim (nvim) is not installed; scripts/deps installs it");
        // The program the editor starts: CTest names it.
        const QString program = qEnvironmentVariable("QUILLKIT98");
        if (program.isEmpty() || !QFileInfo(program).isExecutable())
            QSKIP("QUILLKIT98 names no program to start; run the test through ctest");
        const QByteArray snippet = readmeSnippet();
        QVERIFY2(!snippet.isEmpty(), "README.md has no Neovim snippet");

        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        // The PATH holds quillkit98 alone, as an installed program.
        const QString bin = folder.filePath(u"bin"_s);
        QVERIFY(QDir().mkpath(bin));
        if (onPath)
            QVERIFY(QFile::link(program, QDir(bin).filePath(u"quillkit98"_s)));
        const QString edited = folder.filePath(u"edited/"_s + name);
        const QString script = folder.filePath(u"init.lua"_s);
        QVERIFY(writeFile(script, snippet + Driver));
        if (module.isNull())
            QVERIFY(QDir().mkpath(QFileInfo(edited).path()));
        else
            QVERIFY(writeFile(edited, module));

        // What the file holds unfixed once written, and what fix makes of it.
        const QByteArray written = module.isNull() ? typed + "\n" : module;
        const QString fixedPath = folder.filePath(u"fixed/"_s + name);
        QVERIFY(writeFile(fixedPath, written));
        const qsizetype expected = run({u"fix"_s, u"--check"_s, fixedPath}).out.count('\n');
        QCOMPARE(run({u"fix"_s, fixedPath}).status, 0);
        QFile fixedFile(fixedPath);
        QVERIFY(fixedFile.open(QIODevice::ReadOnly));
        const QByteArray wanted = onPath ? fixedFile.readAll() : written;

        QProcess editor;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"PATH"_s, bin);
        environment.insert(u"QUILLKIT98_TEST_FILE"_s, edited);
        environment.insert(u"QUILLKIT98_TEST_TYPED"_s, QString::fromUtf8(typed));
        environment.insert(u"HOME"_s, folder.path()); // nothing of the user's
        environment.insert(u"XDG_STATE_HOME"_s, folder.filePath(u"state"_s));
        editor.setProcessEnvironment(environment);
        editor.setWorkingDirectory(folder.path());
        editor.start(nvim, {u"--headless"_s, u"--clean"_s, u"-n"_s, u"-i"_s, u"NONE"_s, u"-c"_s, u"luafile "_s + script});
        QVERIFY(editor.waitForFinished(120000));
        const QByteArray said = editor.readAllStandardError();
        QVERIFY2(editor.exitStatus() == QProcess::NormalExit && editor.exitCode() == 0, said.constData());
        if (onPath) {
            QVERIFY2(said.contains(QByteArray("diagnostics: " + QByteArray::number(expected))), said.constData());
            QVERIFY2(said.contains("K hovers"), said.constData());
        } else {
            QVERIFY2(said.contains("quillkit98 is no executable program on the PATH"), said.constData());
        }

        QFile result(edited);
        QVERIFY(result.open(QIODevice::ReadOnly));
        const QByteArray bytes = result.readAll();
        if (onPath)
            QVERIFY(bytes != written); // the fix was applied on the write
        QCOMPARE(bytes, wanted);
    }
};

QTEST_GUILESS_MAIN(TestLspNeovim)
#include "tst_lspneovim.moc"
