// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/FromJson.h"

#include "basic/Source.h"
#include "cli/ToolOptions.h"

#include <QCommandLineParser>
#include <QFile>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

using Kind = JsonMember::Kind;

const Tool *toolNamed(const QList<Tool> &tools, const QString &name)
{
    for (const Tool &tool : tools) {
        if (tool.cli.name == name)
            return &tool;
    }
    return nullptr;
}

QString toolNames(const QList<Tool> &tools)
{
    QStringList names;
    for (const Tool &tool : tools)
        names << tool.cli.name;
    return names.join(u", "_s);
}

} // namespace

bool hasFromJson(const QStringList &arguments)
{
    return std::any_of(arguments.cbegin(), arguments.cend(), [](const QString &arg) {
        return arg == u"--from-json"_s || arg.startsWith(u"--from-json="_s);
    });
}

QStringList argumentsFromJson(const QStringList &arguments, const QList<Tool> &tools, QIODevice &in)
{
    // program, "generate", [TOOL], options...
    QStringList rest = arguments.mid(2);
    QString givenTool;
    if (!rest.isEmpty() && !rest.first().startsWith(u'-'))
        givenTool = rest.takeFirst();
    std::optional<QString> path;
    for (qsizetype i = 0; i < rest.size(); ++i) {
        const QString arg = rest.at(i);
        std::optional<QString> value;
        if (arg == u"--from-json"_s) {
            if (i + 1 >= rest.size())
                throw CliError{u"--from-json: name a file, or - for standard input"_s};
            value = rest.at(i + 1);
            rest.remove(i, 2);
        } else if (arg.startsWith(u"--from-json="_s)) {
            value = arg.mid(12);
            rest.remove(i, 1);
        } else {
            continue;
        }
        if (path)
            throw CliError{u"--from-json is given twice"_s};
        path = value;
        --i;
    }
    // Standard input holds one text: the object, or another option's.
    if (path.value_or(u"-"_s) == u"-"_s) {
        QStringList readingInput;
        for (qsizetype i = 0; i < rest.size(); ++i) {
            const QString &arg = rest.at(i);
            if (!arg.startsWith(u"--"_s))
                continue;
            if (arg.endsWith(u"-file"_s) && i + 1 < rest.size() && rest.at(i + 1) == u"-"_s)
                readingInput << arg;
            else if (const qsizetype equals = arg.indexOf(u'='); equals > 0
                     && QStringView(arg).first(equals).endsWith(u"-file") && arg.sliced(equals + 1) == u"-"_s)
                readingInput << arg.first(equals);
        }
        if (!readingInput.isEmpty())
            throw CliError{u"--from-json and %1 cannot both read standard input; it holds one text"_s.arg(
                readingInput.join(u", "_s))};
    }
    const QByteArray bytes = readSource(u"--from-json"_s, path.value_or(u"-"_s), in);
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        throw CliError{u"--from-json: not JSON: %1 at byte %2"_s.arg(parseError.errorString()).arg(parseError.offset), false};
    if (!document.isObject())
        throw CliError{u"--from-json: the JSON is not an object"_s, false};
    const QJsonObject object = document.object();

    // The object names its tool; one written by hand may leave that to the
    // command line.
    QJsonValue toolValue = object.value(u"tool"_s);
    if (toolValue.isUndefined() && !givenTool.isEmpty())
        toolValue = givenTool;
    if (!toolValue.isString())
        throw CliError{u"--from-json: member \"tool\" must be a text naming a tool (%1)"_s.arg(toolNames(tools)), false};
    const Tool *tool = toolNamed(tools, toolValue.toString());
    if (!tool)
        throw CliError{
            u"--from-json: member \"tool\": '%1' is not one of %2"_s.arg(toolValue.toString(), toolNames(tools)), false};
    if (!givenTool.isEmpty() && givenTool != tool->cli.name)
        throw CliError{
            u"--from-json: member \"tool\" is '%1', but the command names %2"_s.arg(tool->cli.name, givenTool), false};

    QCommandLineParser parser;
    QFile none;
    ToolOptions declared(parser, none);
    tool->cli.declare(declared);
    // An option also given on the command line wins over the member: the
    // member is left out, since an option may be given only once. A bad
    // command line is left for the run itself to report.
    parser.parse(QStringList{arguments.first()} + rest);
    const QStringList optionNames = parser.optionNames();
    const auto givenOnCommandLine = [&](const QString &name) {
        return (optionNames.contains(name) && parser.isSet(name))
               || (optionNames.contains(name + u"-file"_s) && parser.isSet(name + u"-file"_s));
    };

    QStringList options;
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const QString name = it.key();
        if (name == u"tool"_s)
            continue;
        const auto member = std::find_if(tool->jsonMembers.cbegin(), tool->jsonMembers.cend(),
                                         [&](const JsonMember &m) { return m.name == name; });
        if (member == tool->jsonMembers.cend())
            throw CliError{u"--from-json: member \"%1\" is no option of %2"_s.arg(name, tool->cli.name), false};
        const QJsonValue value = it.value();
        const auto refuseSurrogate = [&](const QString &text) {
            if (const auto at = basic::loneSurrogate(text))
                throw CliError{u"--from-json: member \"%1\" holds half of a UTF-16 surrogate pair at character %2, which is no character"_s
                                   .arg(name)
                                   .arg(*at + 1), false};
        };
        if (value.isString())
            refuseSurrogate(value.toString());
        if (value.isArray()) {
            for (const QJsonValue item : value.toArray())
                refuseSurrogate(item.toString());
        }
        if (value.isNull() || givenOnCommandLine(name))
            continue; // not given, or given on the command line
        const auto wrongType = [&](const char *expected) {
            return CliError{u"--from-json: member \"%1\" must be %2"_s.arg(name, QLatin1StringView(expected)), false};
        };
        switch (member->kind) {
        case Kind::Text:
        case Kind::Choice:
            if (!value.isString())
                throw wrongType(member->kind == Kind::Text ? "a text" : "a text naming a choice");
            options << u"--%1=%2"_s.arg(name, value.toString());
            break;
        case Kind::Flag:
            if (!value.isBool())
                throw wrongType("true or false");
            if (value.toBool())
                options << u"--"_s + name;
            break;
        case Kind::List: {
            if (!value.isArray())
                throw wrongType("an array of texts");
            for (const QJsonValue item : value.toArray()) {
                if (!item.isString())
                    throw wrongType("an array of texts");
                options << u"--%1=%2"_s.arg(name, item.toString());
            }
            break;
        }
        }
    }
    return QStringList{arguments.first(), u"generate"_s, tool->cli.name} + options + rest;
}
