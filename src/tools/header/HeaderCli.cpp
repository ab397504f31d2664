// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/header/HeaderCli.h"

#include "codegen/DateText.h"
#include "tools/CodeStyleOptions.h"
#include "tools/header/HeaderGenerator.h"

using namespace Qt::StringLiterals;

namespace {

struct HeaderOption
{
    QString name;
    QString description;
    QString HeaderFields::*field;
};

const QList<HeaderOption> &headerOptions()
{
    static const QList<HeaderOption> options{
        {u"project"_s, u"The project's name."_s, &HeaderFields::project},
        {u"program"_s, u"The program's name."_s, &HeaderFields::program},
        {u"version"_s, u"The version."_s, &HeaderFields::version},
        {u"date"_s, u"The date (default: today, in the user's short date format with a four-digit year)."_s,
         &HeaderFields::date},
        {u"copyright"_s, u"The copyright notice (default: \"Copyright \u00a9 \" and this year)."_s,
         &HeaderFields::copyright},
        {u"description"_s, u"What the file holds."_s, &HeaderFields::description},
    };
    return options;
}

void declare(ToolOptions &options)
{
    for (const HeaderOption &option : headerOptions())
        options.addText(option.name, option.description);
    declareCodeOptions(options, ConstantsUse::NotWritten);
}

QString generate(const ToolOptions &options)
{
    // The same date and conversion as the window's platform, so that this
    // agrees with Copy run on the same day.
    const QDate today = QDate::currentDate();
    return header::generateHeaderBlock(
        headerFieldsFromOptions(options, today, codegen::shortDateText(today)),
        codeOptionsFromOptions(options));
}

void write(const ToolOptions &options, const std::function<void(QString &&)> &sink)
{
    const QDate today = QDate::currentDate();
    const HeaderFields fields = headerFieldsFromOptions(options, today, codegen::shortDateText(today));
    // Read for its check of the values, as generate does.
    (void)codeOptionsFromOptions(options);
    header::writeHeaderBlock(fields, sink);
}

} // namespace

HeaderFields headerFieldsFromOptions(const ToolOptions &options, const QDate &today, const QString &todayText)
{
    HeaderFields fields;
    header::applyDateDefaults(fields, today, todayText);
    for (const HeaderOption &option : headerOptions()) {
        if (const std::optional<QString> value = options.text(option.name))
            fields.*option.field = *value;
    }
    return fields;
}

CliTool headerCli()
{
    return {u"header"_s, u"A framed comment block that heads a source file (Topwright)."_s, declare, generate,
            write};
}

QList<JsonMember> headerJsonMembers()
{
    using Kind = JsonMember::Kind;
    return QList<JsonMember>{{u"project"_s, Kind::Text}, {u"program"_s, Kind::Text},
                             {u"version"_s, Kind::Text}, {u"date"_s, Kind::Text},
                             {u"copyright"_s, Kind::Text}, {u"description"_s, Kind::Text}}
           + codeJsonMembers();
}

QJsonObject headerJson(const ReadResult &result)
{
    const auto &fields = result.fieldsAs<HeaderFields>();
    QJsonObject object;
    object.insert(u"project"_s, fields.project);
    object.insert(u"program"_s, fields.program);
    object.insert(u"version"_s, fields.version);
    object.insert(u"date"_s, fields.date);
    object.insert(u"copyright"_s, fields.copyright);
    object.insert(u"description"_s, fields.description);
    return object;
}
