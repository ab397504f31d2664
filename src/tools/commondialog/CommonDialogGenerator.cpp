// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/commondialog/CommonDialogGenerator.h"

#include "codegen/CodeLayout.h"
#include "codegen/CodeText.h"

using namespace Qt::StringLiterals;

namespace {

QString property(QStringView name, const QString &value)
{
    return u"CommonDialog1."_s + name + u" = "_s + value;
}

// A text property's assignment; a text too long for one statement is built
// up in `variable` first.
QStringList textProperty(QStringView name, const QString &text, const QString &variable)
{
    return codegen::layoutStatement({{codegen::codePiece(u"CommonDialog1."_s + name + u" = "_s), {}},
                                     {codegen::literalPieces(text), variable}},
                                    {});
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

QStringList pageBlock(const CommonDialogFields &fields)
{
    switch (fields.page) {
    case DialogKind::Open:
        return textProperty(u"DialogTitle", fields.openTitle, u"TitleText"_s)
               + textProperty(u"Filter", buildFileFilter(fields.openFileTypes), u"FilterText"_s)
               + QStringList{
                   u"CommonDialog1.Flags = 0"_s,
            u"CommonDialog1.ShowOpen"_s,
            u"'Put your code to handle the file(s) that was/were selected here. The file can be found"_s,
            u"'in [CommonDialog1.FileName]."_s,
        };
    case DialogKind::Save:
        return textProperty(u"DialogTitle", fields.saveTitle, u"TitleText"_s)
               + textProperty(u"DefaultExt", fields.saveDefaultExtension, u"ExtensionText"_s)
               + textProperty(u"Filter", buildFileFilter(fields.saveFileTypes), u"FilterText"_s)
               + QStringList{
                   u"CommonDialog1.Flags = 0"_s,
            u"CommonDialog1.ShowSave"_s,
            u"'Put your code to save data to the file that was selected here. The file can be found"_s,
            u"'in [CommonDialog1.FileName]."_s,
        };
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

} // namespace

QString buildFileFilter(const QStringList &fileTypes)
{
    QString filter;
    for (const QString &type : fileTypes)
        filter += type + u" Files|*."_s + type + u'|';
    return filter;
}

QString generateCommonDialogCode(const CommonDialogFields &fields, const codegen::CodeOptions &)
{
    QStringList lines{
        u"'*** Begin Pickwright Code ***"_s,
        u"CommonDialog1.CancelError = True"_s,
        u"On Error Goto ErrorCommonDialog"_s,
    };
    lines += pageBlock(fields);
    lines += {
        u"Goto NextCommonDialog"_s,
        QString(),
        u"ErrorCommonDialog:"_s,
        u"'The user pressed cancel or didn't choose a file."_s,
        u"NextCommonDialog:"_s,
        u"On Error Goto 0"_s,
        u"'*** End Pickwright Code ***"_s,
    };
    // Unlike the other tools' texts, this one ends with a line break.
    return codegen::joinLines(lines) + codegen::CrLf;
}
