// SPDX-License-Identifier: GPL-3.0-or-later
// A real editor: headless Neovim starts `quillkit98 lsp`, opens a module,
// waits for its diagnostics, applies the fix-all action and writes the file;
// the bytes must be what `fix` writes in place.

#include "support/GenerateRun.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Neovim 0.7's own client: start_client, the diagnostics, the code action.
const char *const Script = R"lua(
local program = os.getenv('QUILLKIT98')
local file = os.getenv('QUILLKIT98_TEST_FILE')
vim.o.writebackup = false
vim.cmd('edit ' .. vim.fn.fnameescape(file))
local buf = vim.api.nvim_get_current_buf()
local client = vim.lsp.start_client({cmd = {program, 'lsp'}, name = 'quillkit98',
                                     root_dir = vim.fn.fnamemodify(file, ':h')})
vim.lsp.buf_attach_client(buf, client)
if not vim.wait(30000, function() return #vim.diagnostic.get(buf) > 0 end, 20) then
  io.stderr:write('no diagnostics\n')
  vim.cmd('cquit 3')
end
io.stderr:write('diagnostics: ' .. #vim.diagnostic.get(buf) .. '\n')
local params = {textDocument = vim.lsp.util.make_text_document_params(buf),
                range = {start = {line = 0, character = 0}, ['end'] = {line = 0, character = 0}},
                context = {diagnostics = {}, only = {'source.fixAll.quillkit98'}}}
local action
for _, response in pairs(vim.lsp.buf_request_sync(buf, 'textDocument/codeAction', params, 30000) or {}) do
  for _, a in ipairs(response.result or {}) do action = a end
end
if not action then
  io.stderr:write('no fix-all action\n')
  vim.cmd('cquit 4')
end
vim.lsp.util.apply_workspace_edit(action.edit, vim.lsp.get_client_by_id(client).offset_encoding)
vim.cmd('write')
vim.lsp.stop_client(client)
vim.cmd('qall!')
)lua";

} // namespace

class TestLspNeovim : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fixAllWrittenByNeovim_data()
    {
        QTest::addColumn<QByteArray>("module");
        QTest::newRow("LF") << QByteArray("Sub A()\n    MsgBox \"Delete?\", 36\n    If MsgBox(\"Sure?\", 4) = 6 Then Beep\nEnd Sub\n");
        QTest::newRow("CR LF, Attribute lines")
            << QByteArray("Attribute VB_Name = \"Module1\"\r\nSub A()\r\n  Dim R\r\n  R = MsgBox(\"Save?\", 3 + 48)\r\n"
                          "  Select Case R\r\n    Case 6, 7\r\n  End Select\r\nEnd Sub\r\n");
        QTest::newRow("UTF-8 with BOM and wide characters")
            << QByteArray("\xEF\xBB\xBFSub A()\n  MsgBox \"Gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x98\x80\", 64: MsgBox \"x\", 1 + 256\nEnd Sub\n");
        QTest::newRow("notes stay") << QByteArray("Sub A(n)\n  MsgBox \"x\", n\n  MsgBox \"y\", 48\nEnd Sub\n");
    }
    void fixAllWrittenByNeovim()
    {
        QFETCH(QByteArray, module);
        const QString nvim = QStandardPaths::findExecutable(u"nvim"_s);
        if (nvim.isEmpty())
            QSKIP("Neovim (nvim) is not installed; scripts/deps installs it");
        // The program the editor starts: CTest names it.
        const QString program = qEnvironmentVariable("QUILLKIT98");
        if (program.isEmpty() || !QFileInfo(program).isExecutable())
            QSKIP("QUILLKIT98 names no program to start; run the test through ctest");
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString edited = folder.filePath(u"edited/Module1.bas"_s);
        const QString fixed = folder.filePath(u"fixed/Module1.bas"_s);
        const QString script = folder.filePath(u"fixall.lua"_s);
        for (const auto &[path, bytes] : {std::pair{edited, module}, std::pair{fixed, module},
                                          std::pair{script, QByteArray(Script)}}) {
            QDir().mkpath(QFileInfo(path).path());
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        const Run check = run({u"fix"_s, u"--check"_s, fixed});
        const qsizetype expected = check.out.count('\n');
        QCOMPARE(run({u"fix"_s, fixed}).status, 0);

        QProcess editor;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QUILLKIT98"_s, program);
        environment.insert(u"QUILLKIT98_TEST_FILE"_s, edited);
        environment.insert(u"HOME"_s, folder.path()); // nothing of the user's
        environment.insert(u"XDG_STATE_HOME"_s, folder.filePath(u"state"_s));
        editor.setProcessEnvironment(environment);
        editor.start(nvim, {u"--headless"_s, u"--clean"_s, u"-n"_s, u"-i"_s, u"NONE"_s, u"-c"_s, u"luafile "_s + script});
        QVERIFY(editor.waitForFinished(120000));
        const QByteArray said = editor.readAllStandardError();
        QVERIFY2(editor.exitStatus() == QProcess::NormalExit && editor.exitCode() == 0, said.constData());
        QVERIFY2(said.contains(QByteArray("diagnostics: " + QByteArray::number(expected))), said.constData());

        QFile written(edited), wanted(fixed);
        QVERIFY(written.open(QIODevice::ReadOnly) && wanted.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        QVERIFY(bytes != module); // the edit was applied
        QCOMPARE(bytes, wanted.readAll());
    }
};

QTEST_GUILESS_MAIN(TestLspNeovim)
#include "tst_lspneovim.moc"
