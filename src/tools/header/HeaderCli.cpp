// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/header/HeaderCli.h"

#include "codegen/DateText.h"
#include "tools/CodeStyleOptions.h"
#include "tools/FieldTable.h"
#include "tools/header/HeaderGenerator.h"

using namespace Qt::StringLiterals;

namespace {

// Six texts, each a QString of the fields.
const FieldTable<HeaderFields> &fieldTable()
{
    struct HeaderText
    {
        QString name;
        QString description;
        QString HeaderFields::*field;
    };
    static const FieldTable<HeaderFields> table = [] {
        const HeaderText texts[]{
            {u"project"_s, u"The project's name."_s, &HeaderFields::project},
            {u"program"_s, u"The program's name."_s, &HeaderFields::program},
            {u"version"_s, u"The version."_s, &HeaderFields::version},
            {u"date"_s, u"The date (default: today, in the user's short date format with a four-digit year)."_s,
             &HeaderFields::date},
            {u"copyright"_s, u"The copyright notice (default: \"Copyright \u00a9 \" and this year)."_s,
             &HeaderFields::copyright},
            {u"description"_s, u"What the file holds."_s, &HeaderFields::description},
        };
        FieldTable<HeaderFields> built;
        for (const HeaderText &text : texts) {
            built.text(text.name, text.description, [field = text.field](const HeaderFields &f) { return f.*field; },
                       [field = text.field](HeaderFields &f, const QString &value) { f.*field = value; });
        }
        return built;
    }();
    return table;
}

void declare(ToolOptions &options)
{
    fieldTable().declare(options);
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
    fieldTable().apply(options, fields);
    return fields;
}

CliTool headerCli()
{
    return {u"header"_s, u"A framed comment block that heads a source file (Topwright)."_s, declare, generate,
            write};
}

QList<JsonMember> headerJsonMembers()
{
    return fieldTable().jsonMembers() + codeJsonMembers();
}

QJsonObject headerJson(const ReadResult &result)
{
    return fieldTable().toJson(result.fieldsAs<HeaderFields>());
}
