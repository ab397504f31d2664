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
#include <QSet>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

using Kind = JsonMember::Kind;

// Takes --from-json and its file out of the options; standard input ("-")
// when it is not given.
QString takeFromJsonPath(QStringList &rest)
{
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
    return path.value_or(u"-"_s);
}

// Standard input holds one text: the object, or another option's.
void refuseSecondStandardInput(const QStringList &rest)
{
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

QJsonObject jsonObject(const QByteArray &bytes)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        throw CliError{u"--from-json: not JSON: %1 at byte %2"_s.arg(parseError.errorString()).arg(parseError.offset), false};
    if (!document.isObject())
        throw CliError{u"--from-json: the JSON is not an object"_s, false};
    return document.object();
}

// The object names its tool; one written by hand may leave that to the
// command line.
const Tool &objectTool(const QJsonObject &object, const QString &givenTool, const QList<Tool> &tools)
{
    QJsonValue toolValue = object.value(u"tool"_s);
    if (toolValue.isUndefined() && !givenTool.isEmpty())
        toolValue = givenTool;
    if (!toolValue.isString())
        throw CliError{u"--from-json: member \"tool\" must be a text naming a tool (%1)"_s.arg(toolNames(tools).join(u", "_s)), false};
    const Tool *tool = toolNamed(tools, toolValue.toString());
    if (!tool)
        throw CliError{
            u"--from-json: member \"tool\": '%1' is not one of %2"_s.arg(toolValue.toString(), toolNames(tools).join(u", "_s)), false};
    if (!givenTool.isEmpty() && givenTool != tool->cli.name)
        throw CliError{
            u"--from-json: member \"tool\" is '%1', but the command names %2"_s.arg(tool->cli.name, givenTool), false};
    return *tool;
}

// The tool's members that the command line gives as options itself (the
// "-file" form standing for its text). A bad command line is left for the
// run itself to report.
QSet<QString> givenOnCommandLine(const Tool &tool, const QString &program, const QStringList &rest)
{
    QCommandLineParser parser;
    QFile none;
    ToolOptions declared(parser, none);
    tool.cli.declare(declared);
    parser.parse(QStringList{program} + rest);
    const QStringList optionNames = parser.optionNames();
    const auto isGiven = [&](const QString &name) { return optionNames.contains(name) && parser.isSet(name); };
    QSet<QString> given;
    for (const JsonMember &member : tool.jsonMembers) {
        if (isGiven(member.name) || isGiven(member.name + u"-file"_s))
            given.insert(member.name);
    }
    return given;
}

void refuseSurrogates(const QString &name, const QJsonValue &value)
{
    const auto refuse = [&](const QString &text) {
        if (const auto at = basic::loneSurrogate(text))
            throw CliError{u"--from-json: member \"%1\" holds half of a UTF-16 surrogate pair at character %2, which is no character"_s
                               .arg(name)
                               .arg(*at + 1), false};
    };
    if (value.isString())
        refuse(value.toString());
    if (value.isArray()) {
        for (const QJsonValue item : value.toArray())
            refuse(item.toString());
    }
}

// The values that one member gives its option: its text or choice, the
// texts of a repeated option, none for a flag that is set; nothing for a
// flag that is not.
std::optional<QStringList> memberValues(const JsonMember &member, const QJsonValue &value)
{
    const auto wrongType = [&](const char *expected) {
        return CliError{u"--from-json: member \"%1\" must be %2"_s.arg(member.name, QLatin1StringView(expected)), false};
    };
    switch (member.kind) {
    case Kind::Text:
    case Kind::Choice:
        if (!value.isString())
            throw wrongType(member.kind == Kind::Text ? "a text" : "a text naming a choice");
        return QStringList{value.toString()};
    case Kind::Flag:
        if (!value.isBool())
            throw wrongType("true or false");
        return value.toBool() ? std::optional(QStringList()) : std::nullopt;
    case Kind::List: {
        if (!value.isArray())
            throw wrongType("an array of texts");
        QStringList texts;
        for (const QJsonValue item : value.toArray()) {
            if (!item.isString())
                throw wrongType("an array of texts");
            texts << item.toString();
        }
        // An empty array gives no value, as the option given no time.
        return texts.isEmpty() ? std::nullopt : std::optional(texts);
    }
    }
    return std::nullopt;
}

} // namespace

bool hasFromJson(const QStringList &arguments)
{
    return std::any_of(arguments.cbegin(), arguments.cend(), [](const QString &arg) {
        return arg == u"--from-json"_s || arg.startsWith(u"--from-json="_s);
    });
}

FromJsonCommand commandFromJson(const QStringList &arguments, const QList<Tool> &tools, QIODevice &in)
{
    // program, "generate", [TOOL], options...
    QStringList rest = arguments.mid(2);
    QString givenTool;
    if (!rest.isEmpty() && !rest.first().startsWith(u'-'))
        givenTool = rest.takeFirst();
    const QString path = takeFromJsonPath(rest);
    if (path == u"-"_s)
        refuseSecondStandardInput(rest);
    const QJsonObject object = jsonObject(readSource(u"--from-json"_s, path, in));
    const Tool &tool = objectTool(object, givenTool, tools);
    // An option also given on the command line wins over the member: the
    // member is left out, since an option may be given only once.
    const QSet<QString> given = givenOnCommandLine(tool, arguments.first(), rest);
    FromJsonCommand command{QStringList{arguments.first(), u"generate"_s, tool.cli.name} + rest, {}};
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const QString name = it.key();
        if (name == u"tool"_s)
            continue;
        const auto member = std::find_if(tool.jsonMembers.cbegin(), tool.jsonMembers.cend(),
                                         [&](const JsonMember &m) { return m.name == name; });
        if (member == tool.jsonMembers.cend())
            throw CliError{u"--from-json: member \"%1\" is no option of %2"_s.arg(name, tool.cli.name), false};
        refuseSurrogates(name, it.value());
        if (it.value().isNull() || given.contains(name))
            continue; // not given, or given on the command line
        if (const std::optional<QStringList> values = memberValues(*member, it.value()))
            command.values.insert(name, *values);
    }
    return command;
}
