// SPDX-License-Identifier: GPL-3.0-or-later
// The generators on realistic fields, and what reads whole typed texts
// (the message's expression, topicNumber, the layout of a long message, the
// code reader) on 1 KB to 10 MB.
#include "app/Tools.h"
#include "codegen/CodeLayout.h"
#include "codegen/CodeText.h"
#include "fix/ModuleFixer.h"
#include "reader/CodeReader.h"
#include "tools/commondialog/CommonDialogGenerator.h"
#include "tools/header/HeaderGenerator.h"
#include "tools/inputbox/InputBoxGenerator.h"
#include "tools/msgbox/MsgBoxGenerator.h"

#include <benchmark/benchmark.h>

#include <QDate>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype KB = 1024;
constexpr qsizetype MB = 1024 * KB;

// Typed prose: lines of some sixty characters, CR LF between them, now and
// then a quoted word and an empty line. All ASCII, so each character is one
// byte of the UTF-8 text it was read from.
QString typedText(qsizetype size)
{
    static const QString paragraph = u"Do you want to save the changes you made to \"Quarterly report\"?\r\n"
                                     u"Your changes will be lost if you don't save them.\r\n"
                                     u"\r\n"
                                     u"Press Yes to save, No to discard them, or Cancel to go back.\r\n"_s;
    QString text;
    text.reserve(size);
    while (text.size() < size)
        text += paragraph;
    text.truncate(size);
    return text;
}

// A topic ID as long as it gets: digits in groups with blanks between them,
// which Val skips, and a word after the number.
QString topicText(qsizetype size)
{
    static const QString group = u"1 234 567 890 "_s;
    QString text;
    text.reserve(size);
    while (text.size() < size - 8)
        text += group;
    text += u"Contents"_s;
    text.truncate(size);
    return text;
}

// With repetitions, the fastest one too: other work on the machine only
// ever adds time, so the minimum is the steadiest estimate.
void sizeArguments(benchmark::internal::Benchmark *benchmark)
{
    benchmark->Arg(KB)->Arg(MB)->Arg(10 * MB)->Unit(benchmark::kMicrosecond);
    benchmark->ComputeStatistics("min", [](const std::vector<double> &times) {
        return *std::min_element(times.begin(), times.end());
    });
}

void BM_messagePieces(benchmark::State &state)
{
    const QString text = typedText(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(codegen::flatten(codegen::messagePieces(text)));
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_messagePieces)->Apply(sizeArguments);

void BM_topicNumber(benchmark::State &state)
{
    const QString text = topicText(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(codegen::topicNumber(text));
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_topicNumber)->Apply(sizeArguments);

// A message too long for one line, or for one statement: the whole code laid
// out within the editor's limits, built up in a variable over statements.
void BM_layoutMessage(benchmark::State &state)
{
    MsgBoxFields fields;
    fields.message = typedText(state.range(0));
    fields.title = u"Quarterly \"Report\""_s;
    fields.style = {vbYesNoCancel, vbDefaultButton1, vbExclamation, vbApplicationModal};
    for (auto _ : state)
        benchmark::DoNotOptimize(generateMsgBoxCode(fields));
    state.SetBytesProcessed(state.iterations() * fields.message.size());
}
BENCHMARK(BM_layoutMessage)->Apply(sizeArguments);

void BM_generateMsgBoxCode(benchmark::State &state)
{
    MsgBoxFields fields;
    fields.message = typedText(200);
    fields.title = u"Quarterly \"Report\""_s;
    fields.style = {vbYesNoCancel, vbDefaultButton1, vbExclamation, vbApplicationModal};
    fields.help = {true, true, u"\\help\\report.hlp"_s, u"120"_s};
    for (auto _ : state)
        benchmark::DoNotOptimize(generateMsgBoxCode(fields));
}
BENCHMARK(BM_generateMsgBoxCode);

void BM_generateInputBox(benchmark::State &state)
{
    InputBoxFields fields;
    fields.title = u"New customer"_s;
    fields.message = u"Type the customer's name.\r\nAs on the \"Orders\" form."_s;
    fields.defaultAnswer = u"Smith & Sons"_s;
    fields.help = {true, false, u"C:\\Help\\orders.hlp"_s, u"&H1F"_s};
    fields.variableName = u"strCustomer"_s;
    fields.declareVariable = true;
    for (auto _ : state)
        benchmark::DoNotOptimize(generateInputBox(fields));
}
BENCHMARK(BM_generateInputBox);

void BM_generateHeaderBlock(benchmark::State &state)
{
    HeaderFields fields{u"Order Desk"_s, u"modOrders.bas"_s, u"2.1.4"_s, {}, {},
                        u"Reads, checks and stores the day's orders."_s};
    header::applyDateDefaults(fields, QDate(2026, 12, 7), u"07/12/2026"_s);
    for (auto _ : state)
        benchmark::DoNotOptimize(header::generateHeaderBlock(fields));
}
BENCHMARK(BM_generateHeaderBlock);

// One run per page: 0 Open, 1 Save, 2 Font, 3 Color, 4 Printer.
void BM_generateCommonDialogCode(benchmark::State &state)
{
    CommonDialogFields fields;
    fields.page = DialogKind(state.range(0));
    fields.openTitle = u"Open Order File"_s;
    fields.openFileTypes = {u"Ord"_s, u"Txt"_s, u"Csv"_s};
    fields.saveTitle = u"Save Orders As"_s;
    fields.saveDefaultExtension = u"ord"_s;
    fields.saveFileTypes = {u"Ord"_s, u"Csv"_s};
    fields.fonts = FontsToDisplay::ScreenOnly;
    fields.customColors = false;
    for (auto _ : state)
        benchmark::DoNotOptimize(generateCommonDialogCode(fields));
}
BENCHMARK(BM_generateCommonDialogCode)->DenseRange(0, 4);

// A module of ordinary code with one message-box call in its middle: what
// the reader reads past on both sides.
QString moduleCode(qsizetype size)
{
    static const QString procedure =
        u"' Totals the day's orders and shows them.\r\n"
        u"Private Sub UpdateTotals(ByVal nOrder As Long)\r\n"
        u"    Dim sLine As String\r\n"
        u"    sLine = \"Order \" & CStr(nOrder) & \": \" & txtCustomer.Text\r\n"
        u"    If nOrder > 0 Then lstOrders.AddItem sLine\r\n"
        u"    curTotal = curTotal + CCur(txtAmount.Text) ' running total\r\n"
        u"    lblTotal.Caption = Format$(curTotal, \"Currency\")\r\n"
        u"End Sub\r\n\r\n"_s;
    static const QString call = u"If MsgBox(\"Delete \" & Chr(34) & \"x\" & Chr(34) & \"?\", _\r\n"
                                u"          vbYesNo + vbQuestion, \"Orders\") = vbYes Then Kill sFile\r\n"_s;
    QString code;
    code.reserve(size + procedure.size() + call.size());
    while (code.size() < size / 2)
        code += procedure;
    code += call;
    while (code.size() < size)
        code += procedure;
    return code;
}

void BM_readCode(benchmark::State &state)
{
    const QString code = moduleCode(state.range(0));
    for (auto _ : state) {
        const ReadResult result = readCode(code, tools());
        if (!result.ok() || result.toolName() != u"msgbox"_s)
            state.SkipWithError("the call was not read");
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * code.size());
}
BENCHMARK(BM_readCode)->Apply(sizeArguments);

// The tool's own code for a long typed message, read back: a message built
// up in MessageText over many statements, the buttons as names.
void BM_readLongMessage(benchmark::State &state)
{
    MsgBoxFields fields;
    fields.message = typedText(state.range(0));
    fields.style.buttonSet = vbYesNo;
    const QString code = generateMsgBoxCode(fields, {codegen::CodeOptions::Constants::Names});
    for (auto _ : state) {
        const ReadResult result = readCode(code, tools());
        if (!result.ok() || result.fieldsAs<MsgBoxFields>().message.size() != fields.message.size())
            state.SkipWithError("the message was not read back");
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * code.size());
}
BENCHMARK(BM_readLongMessage)->Apply(sizeArguments);

// A header block whose description goes on over many comment lines.
void BM_readLongHeader(benchmark::State &state)
{
    HeaderFields fields;
    fields.description = typedText(state.range(0)).replace(u"\r\n"_s, u"  "_s);
    const QString code = header::generateHeaderBlock(fields);
    for (auto _ : state) {
        const ReadResult result = readCode(code, tools());
        if (!result.ok() || result.fieldsAs<HeaderFields>().description.size() != fields.description.size())
            state.SkipWithError("the header was not read back");
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * code.size());
}
BENCHMARK(BM_readLongHeader)->Apply(sizeArguments);

// What `fix` does with a module: the same ordinary code, with a message box
// with numbers in every procedure, all found and named.
void BM_fixModule(benchmark::State &state)
{
    static const QString procedure =
        u"Private Sub DeleteOrder(ByVal nOrder As Long)\r\n"
        u"    Dim sLine As String, r As Long\r\n"
        u"    sLine = \"Order \" & CStr(nOrder) & \": \" & txtCustomer.Text ' MsgBox \"x\", 36\r\n"
        u"    r = MsgBox(\"Delete \" & sLine & \"?\", 36, \"Orders\")\r\n"
        u"    If r = 6 Then lstOrders.RemoveItem nOrder\r\n"
        u"    If MsgBox(\"Print it?\", 4 + 32 + 256) = 7 Then Exit Sub\r\n"
        u"End Sub\r\n\r\n"_s;
    QString code;
    while (code.size() < state.range(0))
        code += procedure;
    for (auto _ : state) {
        const fix::ModuleFixes fixes = fix::fixModule(code, basic::Dialect::VisualBasic);
        if (fixes.changes.empty())
            state.SkipWithError("nothing was named");
        benchmark::DoNotOptimize(fixes);
    }
    state.SetBytesProcessed(state.iterations() * code.size());
}
BENCHMARK(BM_fixModule)->Apply(sizeArguments);

} // namespace

BENCHMARK_MAIN();
