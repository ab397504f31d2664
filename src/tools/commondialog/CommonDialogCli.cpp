// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/commondialog/CommonDialogCli.h"

#include "tools/CodeStyleOptions.h"
#include "tools/FieldTable.h"
#include "tools/commondialog/CommonDialogGenerator.h"

using namespace Qt::StringLiterals;

namespace {

// --dialog values, in page order.
const QStringList dialogNames{u"open"_s, u"save"_s, u"font"_s, u"color"_s, u"printer"_s};
// --fonts values, in FontsToDisplay order.
const QStringList fontsNames{u"screen"_s, u"printer"_s, u"both"_s};

// Every option that sets a field, and the ones each page takes.
const QStringList fieldOptions{u"title"_s, u"default-ext"_s,      u"file-type"_s,
                               u"fonts"_s, u"no-custom-colors"_s, u"no-print-to-file"_s};

QStringList optionsOf(DialogKind page)
{
    switch (page) {
    case DialogKind::Open:
        return {u"title"_s, u"file-type"_s};
    case DialogKind::Save:
        return {u"title"_s, u"default-ext"_s, u"file-type"_s};
    case DialogKind::Font:
        return {u"fonts"_s};
    case DialogKind::Color:
        return {u"no-custom-colors"_s};
    case DialogKind::Printer:
        return {u"no-print-to-file"_s};
    }
    return {};
}

// The first page that takes an option ("--fonts" -> "font"), also in its
// -file form.
QString pageOf(const QString &option)
{
    QString name = option.mid(2);
    if (!fieldOptions.contains(name) && name.endsWith(u"-file"_s))
        name.chop(5);
    for (qsizetype page = 0; page < dialogNames.size(); ++page) {
        if (optionsOf(DialogKind(page)).contains(name))
            return dialogNames.at(page);
    }
    return dialogNames.first();
}

// The file types as given, each checked.
QStringList checkedFileTypes(const QStringList &typed)
{
    QStringList types;
    for (const QString &type : typed) {
        if (type.isEmpty())
            throw CliError{u"--file-type: a file type cannot be empty"_s};
        const FileTypeCheck check = checkFileType(type);
        if (!check.problem.isEmpty())
            throw CliError{u"--file-type: "_s + check.problem};
        types << check.type;
    }
    return types;
}

// Each page's fields; a field of a page that is not the fields' page is null
// in `read`'s object. The options of other pages than --dialog's are refused
// before the table sets anything.
const FieldTable<CommonDialogFields> &fieldTable()
{
    using Fields = CommonDialogFields;
    const auto on = [](DialogKind page, auto value) {
        return [page, value](const Fields &f) { return f.page == page ? QJsonValue(value(f)) : QJsonValue(); };
    };
    static const FieldTable<Fields> table =
        FieldTable<Fields>()
            .choice(u"dialog"_s, u"The dialog: open (the default), save, font, color or printer."_s, dialogNames,
                    [](const Fields &f) { return dialogChoice(f.page); },
                    [](Fields &f, const QString &dialog) { f.page = DialogKind(dialogNames.indexOf(dialog)); })
            .text(u"title"_s, u"open, save: the dialog title (default \"Open\" or \"Save As\")."_s,
                  [](const Fields &f) {
                      return f.page == DialogKind::Open   ? QJsonValue(f.openTitle)
                             : f.page == DialogKind::Save ? QJsonValue(f.saveTitle)
                                                          : QJsonValue();
                  },
                  [](Fields &f, const QString &title) {
                      (f.page == DialogKind::Save ? f.saveTitle : f.openTitle) = title;
                  })
            .text(u"default-ext"_s, u"save: the default extension (default none)."_s,
                  on(DialogKind::Save, [](const Fields &f) { return f.saveDefaultExtension; }),
                  [](Fields &f, const QString &extension) { f.saveDefaultExtension = extension; })
            .list(u"file-type"_s, u"open, save: an allowed file type such as txt; repeat it for more, in order."_s,
                  [](const Fields &f) {
                      return f.page == DialogKind::Open   ? jsonList(f.openFileTypes)
                             : f.page == DialogKind::Save ? jsonList(f.saveFileTypes)
                                                          : QJsonValue();
                  },
                  [](Fields &f, const QStringList &types) {
                      (f.page == DialogKind::Save ? f.saveFileTypes : f.openFileTypes) = checkedFileTypes(types);
                  })
            .choice(u"fonts"_s, u"font: the fonts to display: screen, printer or both (the default)."_s, fontsNames,
                    on(DialogKind::Font, [](const Fields &f) { return fontsChoice(f.fonts); }),
                    [](Fields &f, const QString &fonts) { f.fonts = FontsToDisplay(fontsNames.indexOf(fonts)); })
            .flag(u"no-custom-colors"_s, u"color: no defining of custom colors."_s,
                  [](const Fields &f) { return f.page == DialogKind::Color && !f.customColors; },
                  [](Fields &f) { f.customColors = false; })
            .flag(u"no-print-to-file"_s, u"printer: no printing to file."_s,
                  [](const Fields &f) { return f.page == DialogKind::Printer && !f.printToFile; },
                  [](Fields &f) { f.printToFile = false; });
    return table;
}

void declare(ToolOptions &options)
{
    fieldTable().declare(options);
    declareCodeOptions(options, ConstantsUse::NotWritten);
}

// Refuses the options of other pages than the chosen one.
void checkPageOptions(const ToolOptions &options)
{
    const auto dialog = options.choice(u"dialog"_s);
    const DialogKind page = DialogKind(dialog ? dialogNames.indexOf(*dialog) : 0);
    QStringList foreign = fieldOptions;
    for (const QString &own : optionsOf(page))
        foreign.removeOne(own);
    const QStringList given = options.givenAmong(foreign);
    if (given.isEmpty())
        return;
    const QString verb = given.size() == 1 ? u"does"_s : u"do"_s;
    if (dialog)
        throw CliError{u"%1 %2 not belong to --dialog %3"_s.arg(given.join(u", "_s), verb, *dialog)};
    // Without --dialog the page is open: name the --dialog each option
    // needs rather than blame a --dialog that was never given.
    QStringList needs;
    for (const QString &option : given)
        needs << u"%1 needs --dialog %2"_s.arg(option, pageOf(option));
    throw CliError{u"%1 %2 not belong to the open dialog, the default: %3"_s.arg(given.join(u", "_s), verb,
                                                                                 needs.join(u", "_s))};
}

CommonDialogFields fieldsFromOptions(const ToolOptions &options)
{
    checkPageOptions(options);
    CommonDialogFields fields;
    fieldTable().apply(options, fields);
    return fields;
}

QString generate(const ToolOptions &options)
{
    return generateCommonDialogCode(fieldsFromOptions(options), codeOptionsFromOptions(options));
}

void write(const ToolOptions &options, const std::function<void(QString &&)> &sink)
{
    const CommonDialogFields fields = fieldsFromOptions(options);
    writeCommonDialogCode(fields, codeOptionsFromOptions(options), sink);
}

} // namespace

CliTool commonDialogCli()
{
    return {u"commondialog"_s, u"Code that shows an Open, Save, Font, Color or Printer dialog (Pickwright)."_s,
            declare, generate, write};
}

QString dialogChoice(DialogKind page)
{
    return dialogNames.at(int(page));
}

QString fontsChoice(FontsToDisplay fonts)
{
    return fontsNames.at(int(fonts));
}

QList<JsonMember> commonDialogJsonMembers()
{
    return fieldTable().jsonMembers() + codeJsonMembers();
}

QJsonObject commonDialogJson(const ReadResult &result)
{
    return fieldTable().toJson(result.fieldsAs<CommonDialogFields>());
}
