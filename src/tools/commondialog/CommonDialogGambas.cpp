// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/commondialog/CommonDialogGambas.h"

#include "codegen/CodeText.h"
#include "codegen/GambasCode.h"

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

QStringList fileDialog(const QString &title, const QStringList &fileTypes)
{
    QStringList lines = gb::statement({gb::code(u"Dialog.Title = "_s), gb::text(title, u"TitleText"_s)});
    if (fileTypes.size() <= TypesPerArray) {
        lines += gb::statement(QList<gb::Part>{gb::code(u"Dialog.Filter = "_s)} + filterArray(fileTypes, 0));
        return lines;
    }
    lines << u"Dim FilterList As New String[]"_s;
    for (qsizetype from = 0; from < fileTypes.size(); from += TypesPerArray) {
        lines += gb::statement(QList<gb::Part>{gb::code(u"FilterList.Insert("_s)} + filterArray(fileTypes, from)
                               + QList<gb::Part>{gb::code(u")"_s)});
    }
    lines << u"Dialog.Filter = FilterList"_s;
    return lines;
}

QStringList answered(const QString &call, const QString &cancelled, const QStringList &picked)
{
    QStringList lines{u"If "_s + call + u" Then"_s, u"  "_s + cancelled, u"Else"_s};
    lines += picked;
    lines << u"End If"_s;
    return lines;
}

const QString noFile = u"'The user pressed cancel or didn't choose a file."_s;
const QString cancel = u"'The user pressed cancel."_s;

QStringList pageBlock(const CommonDialogFields &fields)
{
    switch (fields.page) {
    case DialogKind::Open:
        return fileDialog(fields.openTitle, fields.openFileTypes)
               + answered(u"Dialog.OpenFile()"_s, noFile,
                          {u"  'Put your code to handle the file that was selected here. The file can be found"_s,
                           u"  'in [Dialog.Path]."_s});
    case DialogKind::Save: {
        QStringList lines = fileDialog(fields.saveTitle, fields.saveFileTypes);
        QStringList picked;
        if (!fields.saveDefaultExtension.isEmpty()) {
            // Gambas's dialog adds no extension itself.
            picked << u"  'Gambas's file dialog adds no default extension: it is added here."_s
                   << u"  If File.Ext(Dialog.Path) = \"\" Then"_s;
            picked += gb::statement({gb::code(u"Dialog.Path &= "_s),
                                     gb::text(u"."_s + fields.saveDefaultExtension, u"ExtensionText"_s)},
                                    u"    "_s);
            picked << u"  End If"_s;
        }
        picked << u"  'Put your code to save data to the file that was selected here. The file can be found"_s
               << u"  'in [Dialog.Path]."_s;
        return lines + answered(u"Dialog.SaveFile()"_s, noFile, picked);
    }
    case DialogKind::Font: {
        QStringList lines;
        if (fields.fonts != FontsToDisplay::Both)
            lines << u"'Gambas's font dialog cannot show only the screen's or the printer's fonts: it shows them all."_s;
        return lines
               + answered(u"Dialog.SelectFont()"_s, cancel,
                          {u"  'Put your code to get the font that was selected here. It can be found in"_s,
                           u"  '[Dialog.Font.Name]. Other attributes can be found in [Dialog.Font.Bold],"_s,
                           u"  '[Dialog.Font.Italic], [Dialog.Font.Size] etc."_s});
    }
    case DialogKind::Color: {
        QStringList lines;
        if (!fields.customColors)
            lines << u"'Gambas's color dialog always lets the user mix a custom color."_s;
        return lines
               + answered(u"Dialog.SelectColor()"_s, cancel,
                          {u"  'Put your code to get the color that was selected here."_s,
                           u"  'It can be found in [Dialog.Color]."_s});
    }
    case DialogKind::Printer: {
        QStringList lines;
        if (!fields.printToFile)
            lines << u"'Gambas's print dialog always offers printing to a file."_s;
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

QString generateCommonDialogGambas(const CommonDialogFields &fields)
{
    const QStringList lines = QStringList{u"'*** Begin Pickwright Code ***"_s} + pageBlock(fields)
                              + QStringList{u"'*** End Pickwright Code ***"_s};
    return codegen::joinLines(lines) + codegen::CrLf;
}
