// SPDX-License-Identifier: GPL-3.0-or-later
// The code reader on any text. It never crashes or hangs, and either reads
// or refuses with a line and column inside the text and a one-line reason.
// What it reads, written again by the tool's generator (the message box in
// both constant styles), reads back as the very same fields, and a line that
// has nothing to do with it, added at the end, changes nothing it read.

#include "FuzzInput.h"
#include "codegen/CodeText.h"
#include "reader/CodeReader.h"
#include "tools/commondialog/CommonDialogGenerator.h"
#include "tools/header/HeaderGenerator.h"
#include "tools/inputbox/InputBoxGenerator.h"
#include "tools/msgbox/MsgBoxGenerator.h"

using namespace Qt::StringLiterals;

namespace {

bool sameHelp(const HelpFields &a, const HelpFields &b)
{
    return a.help == b.help && a.appPath == b.appPath && a.helpFile == b.helpFile && a.topicId == b.topicId;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = fuzzText(data, size);
    const ReadResult result = readCode(text);
    if (!result.ok()) {
        const ReadError &error = *result.error;
        FUZZ_CHECK(error.line >= 1 && error.column >= 1, error.text());
        FUZZ_CHECK(error.line <= text.count(u'\n') + text.count(u'\r') + 1, error.text());
        FUZZ_CHECK(!error.message.isEmpty() && !codegen::hasLineBreak(error.message), error.text());
        return 0;
    }

    // Code after the call: an unrelated statement, and a comment.
    for (const QString &tail : {u"\r\n\r\nDim zzUnrelated As Long: zzUnrelated = 1"_s, u"\n\n' MsgBox \"zz\", 36"_s}) {
        const ReadResult longer = readCode(text + tail);
        FUZZ_CHECK(longer.ok() && longer.tool == result.tool && longer.msgBox.message == result.msgBox.message
                       && longer.msgBox.style == result.msgBox.style && longer.inputBox.message == result.inputBox.message
                       && longer.header == result.header && longer.commonDialog == result.commonDialog,
                   text);
    }

    ReadResult again;
    switch (result.tool) {
    case ReadTool::MsgBox:
        // In either style, and the style is read back too.
        for (const auto constants : {codegen::CodeOptions::Constants::Numbers, codegen::CodeOptions::Constants::Names}) {
            again = readCode(generateMsgBoxCode(result.msgBox, {constants}));
            FUZZ_CHECK(again.ok() && again.tool == ReadTool::MsgBox, text);
            FUZZ_CHECK(again.msgBox.message == result.msgBox.message && again.msgBox.title == result.msgBox.title
                           && again.msgBox.style == result.msgBox.style
                           && sameHelp(again.msgBox.help, result.msgBox.help),
                       text);
            FUZZ_CHECK(again.constants
                           == (constants == codegen::CodeOptions::Constants::Names ? ConstantsStyle::Names
                                                                                    : ConstantsStyle::Numbers),
                       text);
        }
        break;
    case ReadTool::InputBox: {
        again = readCode(generateInputBox(result.inputBox));
        FUZZ_CHECK(again.ok() && again.tool == ReadTool::InputBox, text);
        const InputBoxFields &a = again.inputBox;
        const InputBoxFields &b = result.inputBox;
        FUZZ_CHECK(a.message == b.message && a.title == b.title && a.defaultAnswer == b.defaultAnswer
                       && a.variableName == b.variableName && a.declareVariable == b.declareVariable
                       && sameHelp(a.help, b.help),
                   text);
        break;
    }
    case ReadTool::Header:
        again = readCode(header::generateHeaderBlock(result.header));
        FUZZ_CHECK(again.ok() && again.tool == ReadTool::Header && again.header == result.header, text);
        break;
    case ReadTool::CommonDialog:
        again = readCode(generateCommonDialogCode(result.commonDialog));
        FUZZ_CHECK(again.ok() && again.tool == ReadTool::CommonDialog && again.commonDialog == result.commonDialog,
                   text);
        break;
    }
    return 0;
}
