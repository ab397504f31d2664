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

#include "support/LibreOfficeRun.h"
#include "support/RandomText.h"

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
using namespace libreoffice;

namespace {

using Constants = codegen::CodeOptions::Constants;

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
        return testsupport::randomPieces(m_random, atoms, length, multiLine ? 12 : 0);
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

        const quint32 seed = testsupport::seed(qPrintable(u"random fields, "_s + style));
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
