// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/commondialog/CommonDialogLibreOffice.h"

#include "codegen/CodeLayout.h"
#include "tools/commondialog/CommonDialogGenerator.h"
#include "tools/commondialog/CommonDialogTexts.h"

using namespace Qt::StringLiterals;

namespace {

const QString dialogResults = u"com.sun.star.ui.dialogs.ExecutableDialogResults.OK"_s;
const QStringList takenNames{u"FilePicker"_s, u"SelectedFiles"_s, u"FileName"_s};

// `call(` the literals, separated by ", ", `)`; a literal too long for one
// statement is built up in its variable first.
void callWithTexts(const QString &call, const QList<std::pair<QString, QString>> &texts,
                   const codegen::LineSink &sink)
{
    QList<codegen::StatementPart> parts{{codegen::codePiece(call + u'('), {}}};
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i > 0)
            parts += {codegen::codePiece(u", "_s), {}};
        parts += {codegen::literalPieces(texts.at(i).first, codegen::CodeOptions::Dialect::LibreOffice),
                  texts.at(i).second};
    }
    parts += {codegen::codePiece(u")"_s), {}};
    codegen::layoutStatement(parts, takenNames, {}, sink);
}

void appendFilter(const QString &fileType, const QString &nameVariable, const QString &patternVariable,
                  const codegen::LineSink &sink)
{
    callWithTexts(u"FilePicker.appendFilter"_s,
                  {{fileType + u" Files"_s, nameVariable}, {u"*."_s + fileType, patternVariable}}, sink);
}

void appendFilters(const QStringList &fileTypes, const codegen::LineSink &sink)
{
    for (qsizetype i = 0; i < fileTypes.size(); ++i) {
        // The file picker refuses a second filter of the same name.
        if (fileTypes.indexOf(fileTypes.at(i)) < i)
            continue;
        // Each its own variables: BASIC refuses a second Dim of a name.
        const QString number = QString::number(i + 1);
        appendFilter(fileTypes.at(i), u"FilterName"_s + number, u"FilterPattern"_s + number, sink);
    }
}

void filePicker(const QString &template_, const QString &title, const QStringList &fileTypes,
                const codegen::LineSink &sink)
{
    codegen::writeLines(sink, {
                                  u"Dim FilePicker As Object"_s,
                                  u"Dim SelectedFiles As Variant"_s,
                                  u"Dim FileName As String"_s,
                                  u"FilePicker = CreateUnoService(\"com.sun.star.ui.dialogs.FilePicker\")"_s,
                                  u"FilePicker.initialize(Array(com.sun.star.ui.dialogs.TemplateDescription."_s
                                      + template_ + u"))"_s,
                              });
    callWithTexts(u"FilePicker.setTitle"_s, {{title, u"TitleText"_s}}, sink);
    appendFilters(fileTypes, sink);
}

QStringList pickedFile(QStringView what)
{
    return {
        u"If FilePicker.execute() = "_s + dialogResults + u" Then"_s,
        u"  SelectedFiles = FilePicker.getSelectedFiles()"_s,
        u"  FileName = ConvertFromURL(SelectedFiles(0))"_s,
        u"  'Put your code to "_s + what + u" here. The file can be found"_s,
        u"  'in [FileName]."_s,
        u"Else"_s,
        u"  'The user pressed cancel or didn't choose a file."_s,
        u"End If"_s,
    };
}

QStringList dispatch(QStringView command)
{
    return {
        u"Dim Dispatcher As Object"_s,
        u"Dispatcher = CreateUnoService(\"com.sun.star.frame.DispatchHelper\")"_s,
        u"Dispatcher.executeDispatch(ThisComponent.CurrentController.Frame, \""_s + command
            + u"\", \"\", 0, Array())"_s,
    };
}

// The pages without texts of the user's.
QStringList fixedPageBlock(const CommonDialogFields &fields)
{
    switch (fields.page) {
    case DialogKind::Open:
    case DialogKind::Save:
        break;
    case DialogKind::Font: {
        QStringList lines;
        if (fields.fonts == FontsToDisplay::PrinterOnly)
            lines << commondialog::LibreOfficeAllFonts;
        lines += dispatch(u".uno:FontDialog");
        lines += {
            u"'The font that was selected is set on the current selection. Put your code to get it here."_s,
            u"'It can be found in [ThisComponent.CurrentController.getViewCursor().CharFontName]. Other"_s,
            u"'attributes can be found in [.CharWeight], [.CharPosture], [.CharHeight] etc."_s,
        };
        return lines;
    }
    case DialogKind::Color: {
        QStringList lines;
        if (!fields.customColors)
            lines << commondialog::LibreOfficeCustomColors;
        lines += {
            u"Dim ColorPicker As Object"_s,
            u"Dim ColorValues As Variant"_s,
            u"Dim SelectedColor As Long"_s,
            u"ColorPicker = CreateUnoService(\"com.sun.star.cui.ColorPicker\")"_s,
            u"If ColorPicker.execute() = "_s + dialogResults + u" Then"_s,
            u"  ColorValues = ColorPicker.getPropertyValues()"_s,
            u"  SelectedColor = ColorValues(0).Value"_s,
            u"  'Put your code to get the color that was selected here."_s,
            u"  'It can be found in [SelectedColor]."_s,
            u"Else"_s,
            u"  'The user pressed cancel."_s,
            u"End If"_s,
        };
        return lines;
    }
    case DialogKind::Printer: {
        QStringList lines;
        if (!fields.printToFile)
            lines << commondialog::LibreOfficePrintToFile;
        lines += dispatch(u".uno:Print");
        lines += {
            u"'The print dialog prints the current document itself, with the number of copies the user"_s,
            u"'chose. Put your code to run after printing here."_s,
        };
        return lines;
    }
    }
    return {};
}

void pageBlock(const CommonDialogFields &fields, const codegen::LineSink &sink)
{
    switch (fields.page) {
    case DialogKind::Open:
        filePicker(u"FILEOPEN_SIMPLE"_s, fields.openTitle, fields.openFileTypes, sink);
        codegen::writeLines(sink, pickedFile(u"handle the file that was selected"));
        return;
    case DialogKind::Save: {
        filePicker(u"FILESAVE_AUTOEXTENSION"_s, fields.saveTitle, fields.saveFileTypes, sink);
        const QString &extension = fields.saveDefaultExtension;
        const QString autoExtension =
            u"FilePicker.setValue(com.sun.star.ui.dialogs.ExtendedFilePickerElementIds.CHECKBOX_AUTOEXTENSION, 0, "_s;
        if (extension.isEmpty()) {
            sink(autoExtension + u"False)"_s);
        } else {
            // The dialog adds the extension of the chosen filter: the
            // default extension's filter, added when no file type has it.
            sink(QString(commondialog::LibreOfficeExtensionThroughFilter));
            if (!fields.saveFileTypes.contains(extension))
                appendFilter(extension, u"ExtensionName"_s, u"ExtensionPattern"_s, sink);
            callWithTexts(u"FilePicker.setCurrentFilter"_s, {{extension + u" Files"_s, u"ExtensionText"_s}}, sink);
            sink(autoExtension + u"True)"_s);
        }
        codegen::writeLines(sink, pickedFile(u"save data to the file that was selected"));
        return;
    }
    default:
        codegen::writeLines(sink, fixedPageBlock(fields));
    }
}

} // namespace

void writeCommonDialogLibreOffice(const CommonDialogFields &fields, const codegen::LineSink &sink)
{
    sink(QString(commondialog::BeginMarker));
    pageBlock(fields, sink);
    sink(QString(commondialog::EndMarker));
    sink({}); // Unlike the other tools' texts, this one ends with a line break.
}
