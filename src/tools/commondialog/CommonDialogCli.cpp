// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/commondialog/CommonDialogCli.h"

#include "tools/CodeStyleOptions.h"
#include "tools/commondialog/CommonDialogGenerator.h"

#include <QJsonArray>

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

void declare(ToolOptions &options)
{
    options.addChoice(u"dialog"_s, u"The dialog: open (the default), save, font, color or printer."_s, dialogNames);
    options.addText(u"title"_s, u"open, save: the dialog title (default \"Open\" or \"Save As\")."_s);
    options.addText(u"default-ext"_s, u"save: the default extension (default none)."_s);
    options.addRepeatedText(u"file-type"_s,
                            u"open, save: an allowed file type such as txt; repeat it for more, in order."_s);
    options.addChoice(u"fonts"_s, u"font: the fonts to display: screen, printer or both (the default)."_s, fontsNames);
    options.addFlag(u"no-custom-colors"_s, u"color: no defining of custom colors."_s);
    options.addFlag(u"no-print-to-file"_s, u"printer: no printing to file."_s);
    declareCodeOptions(options, ConstantsUse::NotWritten);
}

QStringList fileTypes(const ToolOptions &options)
{
    QStringList types;
    for (const QString &typed : options.texts(u"file-type"_s)) {
        if (typed.isEmpty())
            throw CliError{u"--file-type: a file type cannot be empty"_s};
        const FileTypeCheck check = checkFileType(typed);
        if (!check.problem.isEmpty())
            throw CliError{u"--file-type: "_s + check.problem};
        types << check.type;
    }
    return types;
}

CommonDialogFields fieldsFromOptions(const ToolOptions &options)
{
    CommonDialogFields fields;
    fields.page = DialogKind(dialogNames.indexOf(options.choice(u"dialog"_s).value_or(dialogNames.first())));

    QStringList foreign = fieldOptions;
    for (const QString &own : optionsOf(fields.page))
        foreign.removeOne(own);
    if (const QStringList given = options.givenAmong(foreign); !given.isEmpty()) {
        const QString verb = given.size() == 1 ? u"does"_s : u"do"_s;
        if (options.choice(u"dialog"_s))
            throw CliError{u"%1 %2 not belong to --dialog %3"_s.arg(given.join(u", "_s), verb,
                                                                    dialogNames.at(int(fields.page)))};
        // Without --dialog the page is open: name the --dialog each option
        // needs rather than blame a --dialog that was never given.
        QStringList needs;
        for (const QString &option : given)
            needs << u"%1 needs --dialog %2"_s.arg(option, pageOf(option));
        throw CliError{u"%1 %2 not belong to the open dialog, the default: %3"_s.arg(given.join(u", "_s), verb,
                                                                                     needs.join(u", "_s))};
    }

    switch (fields.page) {
    case DialogKind::Open:
        fields.openTitle = options.text(u"title"_s).value_or(fields.openTitle);
        fields.openFileTypes = fileTypes(options);
        break;
    case DialogKind::Save:
        fields.saveTitle = options.text(u"title"_s).value_or(fields.saveTitle);
        fields.saveDefaultExtension = options.text(u"default-ext"_s).value_or(fields.saveDefaultExtension);
        fields.saveFileTypes = fileTypes(options);
        break;
    case DialogKind::Font:
        if (const auto fonts = options.choice(u"fonts"_s))
            fields.fonts = FontsToDisplay(fontsNames.indexOf(*fonts));
        break;
    case DialogKind::Color:
        fields.customColors = !options.flag(u"no-custom-colors"_s);
        break;
    case DialogKind::Printer:
        fields.printToFile = !options.flag(u"no-print-to-file"_s);
        break;
    }
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
    using Kind = JsonMember::Kind;
    return QList<JsonMember>{{u"dialog"_s, Kind::Choice}, {u"title"_s, Kind::Text},
                             {u"default-ext"_s, Kind::Text}, {u"file-type"_s, Kind::List},
                             {u"fonts"_s, Kind::Choice}, {u"no-custom-colors"_s, Kind::Flag},
                             {u"no-print-to-file"_s, Kind::Flag}}
           + codeJsonMembers();
}

QJsonObject commonDialogJson(const ReadResult &result)
{
    const auto &fields = result.fieldsAs<CommonDialogFields>();
    const bool open = fields.page == DialogKind::Open;
    const bool save = fields.page == DialogKind::Save;
    QJsonObject object;
    object.insert(u"dialog"_s, dialogChoice(fields.page));
    object.insert(u"title"_s, open   ? QJsonValue(fields.openTitle)
                              : save ? QJsonValue(fields.saveTitle)
                                     : QJsonValue());
    object.insert(u"default-ext"_s, save ? QJsonValue(fields.saveDefaultExtension) : QJsonValue());
    object.insert(u"file-type"_s, open   ? QJsonValue(QJsonArray::fromStringList(fields.openFileTypes))
                                  : save ? QJsonValue(QJsonArray::fromStringList(fields.saveFileTypes))
                                         : QJsonValue());
    object.insert(u"fonts"_s, fields.page == DialogKind::Font ? QJsonValue(fontsChoice(fields.fonts)) : QJsonValue());
    object.insert(u"no-custom-colors"_s, fields.page == DialogKind::Color && !fields.customColors);
    object.insert(u"no-print-to-file"_s, fields.page == DialogKind::Printer && !fields.printToFile);
    return object;
}
