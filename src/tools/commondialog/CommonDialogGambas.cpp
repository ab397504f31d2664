// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/commondialog/CommonDialogGambas.h"

#include "codegen/CodeText.h"
#include "codegen/GambasCode.h"
#include "tools/commondialog/CommonDialogTexts.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace gb = codegen::gambas;

namespace {

// Pairs of file types in one array literal: the compiler refuses an array
// of some hundreds of elements.
constexpr qsizetype TypesPerArray = 100;

// `[pattern, name, ...]` for the types from `from`, at most TypesPerArray.
QList<gb::Part> filterArray(const QStringList &fileTypes, qsizetype from)
{
    QList<gb::Part> parts{gb::code(u"["_s)};
    const qsizetype end = std::min(fileTypes.size(), from + TypesPerArray);
    for (qsizetype i = from; i < end; ++i) {
        const QString number = QString::number(i + 1);
        if (i > from)
            parts << gb::code(u", "_s);
        parts << gb::text(u"*."_s + fileTypes.at(i), u"FilterPattern"_s + number) << gb::code(u", "_s)
              << gb::text(fileTypes.at(i) + u" Files"_s, u"FilterName"_s + number);
    }
    parts << gb::code(u"]"_s);
    return parts;
}

void fileDialog(const QString &title, const QStringList &fileTypes, const codegen::LineSink &sink)
{
    gb::statement({gb::code(u"Dialog.Title = "_s), gb::text(title, u"TitleText"_s)}, {}, {}, {}, sink);
    if (fileTypes.size() <= TypesPerArray) {
        gb::statement(QList<gb::Part>{gb::code(u"Dialog.Filter = "_s)} + filterArray(fileTypes, 0), {}, {}, {}, sink);
        return;
    }
    sink(u"Dim FilterList As New String[]"_s);
    for (qsizetype from = 0; from < fileTypes.size(); from += TypesPerArray) {
        gb::statement(QList<gb::Part>{gb::code(u"FilterList.Insert("_s)} + filterArray(fileTypes, from)
                          + QList<gb::Part>{gb::code(u")"_s)},
                      {}, {}, {}, sink);
    }
    sink(u"Dialog.Filter = FilterList"_s);
}

// The lines up to where the picked dialog's are.
QStringList answerHead(const QString &call, const QString &cancelled)
{
    return {u"If "_s + call + u" Then"_s, u"  "_s + cancelled, u"Else"_s};
}

QStringList answered(const QString &call, const QString &cancelled, const QStringList &picked)
{
    QStringList lines = answerHead(call, cancelled);
    lines += picked;
    lines << u"End If"_s;
    return lines;
}

const QString noFile = u"'The user pressed cancel or didn't choose a file."_s;
const QString cancel = u"'The user pressed cancel."_s;

// The page's lines: those of its texts to `sink`, the fixed ones after
// them returned.
QStringList pageBlock(const CommonDialogFields &fields, const codegen::LineSink &sink)
{
    switch (fields.page) {
    case DialogKind::Open:
        fileDialog(fields.openTitle, fields.openFileTypes, sink);
        return answered(u"Dialog.OpenFile()"_s, noFile,
                          {u"  'Put your code to handle the file that was selected here. The file can be found"_s,
                           u"  'in [Dialog.Path]."_s});
    case DialogKind::Save: {
        fileDialog(fields.saveTitle, fields.saveFileTypes, sink);
        codegen::writeLines(sink, answerHead(u"Dialog.SaveFile()"_s, noFile));
        if (!fields.saveDefaultExtension.isEmpty()) {
            // Gambas's dialog adds no extension itself.
            sink(u"  'Gambas's file dialog adds no default extension: it is added here."_s);
            sink(u"  If File.Ext(Dialog.Path) = \"\" Then"_s);
            gb::statement({gb::code(u"Dialog.Path &= "_s),
                           gb::text(u"."_s + fields.saveDefaultExtension, u"ExtensionText"_s)},
                          u"    "_s, {}, {}, sink);
            sink(u"  End If"_s);
        }
        return {u"  'Put your code to save data to the file that was selected here. The file can be found"_s,
                u"  'in [Dialog.Path]."_s, u"End If"_s};
    }
    case DialogKind::Font: {
        QStringList lines;
        if (fields.fonts != FontsToDisplay::Both)
            lines << commondialog::GambasAllFonts;
        return lines
               + answered(u"Dialog.SelectFont()"_s, cancel,
                          {u"  'Put your code to get the font that was selected here. It can be found in"_s,
                           u"  '[Dialog.Font.Name]. Other attributes can be found in [Dialog.Font.Bold],"_s,
                           u"  '[Dialog.Font.Italic], [Dialog.Font.Size] etc."_s});
    }
    case DialogKind::Color: {
        QStringList lines;
        if (!fields.customColors)
            lines << commondialog::GambasCustomColors;
        return lines
               + answered(u"Dialog.SelectColor()"_s, cancel,
                          {u"  'Put your code to get the color that was selected here."_s,
                           u"  'It can be found in [Dialog.Color]."_s});
    }
    case DialogKind::Printer: {
        QStringList lines;
        if (!fields.printToFile)
            lines << commondialog::GambasPrintToFile;
        lines << u"Dim PrinterSetup As New Printer"_s;
        return lines
               + answered(u"PrinterSetup.Configure()"_s, cancel,
                          {u"  'Put your code to get the number of copies the user wants here."_s,
                           u"  'It can be found in [PrinterSetup.CopyCount]."_s});
    }
    }
    return {};
}

} // namespace

void writeCommonDialogGambas(const CommonDialogFields &fields, const codegen::LineSink &sink)
{
    sink(QString(commondialog::BeginMarker));
    codegen::writeLines(sink, pageBlock(fields, sink));
    sink(QString(commondialog::EndMarker));
    sink({});
}
