// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/commondialog/CommonDialogGenerator.h"

#include "codegen/CodeLayout.h"
#include "codegen/CodeText.h"
#include "tools/commondialog/CommonDialogGambas.h"
#include "tools/commondialog/CommonDialogLibreOffice.h"
#include "tools/commondialog/CommonDialogTexts.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {

QString property(QStringView name, const QString &value)
{
    return u"CommonDialog1."_s + name + u" = "_s + value;
}

// A text property's assignment; a text too long for one statement is built
// up in `variable` first.
void textProperty(QStringView name, const QString &text, const QString &variable, const codegen::LineSink &sink)
{
    codegen::layoutStatement({{codegen::codePiece(u"CommonDialog1."_s + name + u" = "_s), {}},
                              {codegen::literalPieces(text), variable}},
                             {}, {}, sink);
}

QString fontsFlagName(FontsToDisplay fonts)
{
    switch (fonts) {
    case FontsToDisplay::ScreenOnly:
        return u"cdlCFScreenFonts"_s;
    case FontsToDisplay::PrinterOnly:
        return u"cdlCFPrinterFonts"_s;
    case FontsToDisplay::Both:
        break;
    }
    return u"cdlCFBoth"_s;
}

// The pages without texts of the user's.
QStringList fixedPageBlock(const CommonDialogFields &fields)
{
    switch (fields.page) {
    case DialogKind::Open:
    case DialogKind::Save:
        break;
    case DialogKind::Font:
        return {
            property(u"Flags", fontsFlagName(fields.fonts)),
            u"CommonDialog1.ShowFont"_s,
            u"'Put your code to get the font that was selected here. It can be found in"_s,
            u"'[CommonDialog1.FontName]. Other attributes can be found in [Commondialog1.FontBold],"_s,
            u"'[CommonDialog1.Italic],[CommonDialog1.FontSize] etc."_s,
        };
    case DialogKind::Color:
        return {
            property(u"Flags", fields.customColors ? u"0"_s : u"cdlCCPreventFullOpen"_s),
            u"CommonDialog1.ShowColor"_s,
            u"'Put your code to get the color that was selected here."_s,
            u"'It can be found in [CommonDialog1.Color]."_s,
        };
    case DialogKind::Printer:
        return {
            property(u"Flags", fields.printToFile ? u"0"_s : u"cdlPDDisablePrintToFile"_s),
            u"CommonDialog1.ShowPrinter"_s,
            u"'Put your code to get the number of the user wants here."_s,
            u"'It can be found in [CommonDialog1.Copies]."_s,
        };
    }
    return {};
}

void pageBlock(const CommonDialogFields &fields, const codegen::LineSink &sink)
{
    switch (fields.page) {
    case DialogKind::Open:
        textProperty(u"DialogTitle", fields.openTitle, u"TitleText"_s, sink);
        textProperty(u"Filter", buildFileFilter(fields.openFileTypes), u"FilterText"_s, sink);
        codegen::writeLines(sink, {
                                      u"CommonDialog1.Flags = 0"_s,
                                      u"CommonDialog1.ShowOpen"_s,
                                      u"'Put your code to handle the file(s) that was/were selected here. "
                                      "The file can be found"_s,
                                      u"'in [CommonDialog1.FileName]."_s,
                                  });
        return;
    case DialogKind::Save:
        textProperty(u"DialogTitle", fields.saveTitle, u"TitleText"_s, sink);
        textProperty(u"DefaultExt", fields.saveDefaultExtension, u"ExtensionText"_s, sink);
        textProperty(u"Filter", buildFileFilter(fields.saveFileTypes), u"FilterText"_s, sink);
        codegen::writeLines(sink, {
                                      u"CommonDialog1.Flags = 0"_s,
                                      u"CommonDialog1.ShowSave"_s,
                                      u"'Put your code to save data to the file that was selected here. "
                                      "The file can be found"_s,
                                      u"'in [CommonDialog1.FileName]."_s,
                                  });
        return;
    default:
        codegen::writeLines(sink, fixedPageBlock(fields));
    }
}

} // namespace

FileTypeCheck checkFileType(QStringView typed)
{
    const auto tr = [](const char *text) { return QCoreApplication::translate("CommonDialogGenerator", text); };
    QStringView type = typed.trimmed();
    if (type.startsWith(u"*."))
        type = type.sliced(2);
    else if (type.startsWith(u'.'))
        type = type.sliced(1);
    if (type.isEmpty())
        return {{}, tr("A file type needs an extension, such as txt.")};
    static constexpr QStringView refused = u" |;*?.";
    for (const QChar c : type) {
        if (!refused.contains(c))
            continue;
        const QString what = c == u' ' ? tr("a space") : u"\"%1\""_s.arg(c);
        return {{},
                tr("A file type is one extension, such as txt, without %1: '%2' cannot be one.")
                    .arg(what, typed.toString())};
    }
    return {type.toString(), {}};
}

QString buildFileFilter(const QStringList &fileTypes)
{
    QString filter;
    for (const QString &type : fileTypes)
        filter += type + u" Files|*."_s + type + u'|';
    return filter;
}

QString generateCommonDialogCode(const CommonDialogFields &fields, const codegen::CodeOptions &options)
{
    QStringList lines;
    writeCommonDialogCode(fields, options, [&lines](QString &&line) { lines << std::move(line); });
    return codegen::joinLines(lines);
}

void writeCommonDialogCode(const CommonDialogFields &fields, const codegen::CodeOptions &options,
                           const codegen::LineSink &sink)
{
    if (options.gambas()) {
        writeCommonDialogGambas(fields, sink);
        return;
    }
    if (options.libreOffice()) {
        writeCommonDialogLibreOffice(fields, sink);
        return;
    }
    codegen::writeLines(sink, {
                                  commondialog::BeginMarker,
                                  u"CommonDialog1.CancelError = True"_s,
                                  u"On Error Goto ErrorCommonDialog"_s,
                              });
    pageBlock(fields, sink);
    codegen::writeLines(sink, {
                                  u"Goto NextCommonDialog"_s,
                                  QString(),
                                  u"ErrorCommonDialog:"_s,
                                  u"'The user pressed cancel or didn't choose a file."_s,
                                  u"NextCommonDialog:"_s,
                                  u"On Error Goto 0"_s,
                                  commondialog::EndMarker,
                                  QString(), // a line break at the end, as above
                              });
}
