// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Messages.h"

#include "cli/ToolOptions.h"

#include <QCommandLineParser>

using namespace Qt::StringLiterals;

namespace cli {

QString programName()
{
    return u"quillkit98"_s;
}

QString programMessage(QStringView message)
{
    return programName() + u": "_s + escapedControls(message);
}

QString tryHelp(QStringView command)
{
    const QString invocation = command.isEmpty() ? programName() : programName() + u' ' + command;
    return u"Try '%1 --help' for more information."_s.arg(invocation);
}

QString locatedMessage(QStringView file, qsizetype line, qsizetype column, QStringView message)
{
    return u"%1:%2:%3: %4"_s.arg(file).arg(line).arg(column).arg(message);
}

QString fileMessage(QStringView file, QStringView reason)
{
    return file + u": "_s + reason;
}

namespace {

const QCommandLineOption *optionNamed(const QList<QCommandLineOption> &options, const QString &name)
{
    for (const QCommandLineOption &option : options) {
        if (option.names().contains(name))
            return &option;
    }
    return nullptr;
}

} // namespace

QString parseError(const QCommandLineParser &parser, const QStringList &arguments,
                   const QList<QCommandLineOption> &options)
{
    const QStringList unknown = parser.unknownOptionNames();
    for (qsizetype at = 1; at < arguments.size(); ++at) {
        const QString &argument = arguments.at(at);
        if (argument == u"--"_s)
            break;
        if (!argument.startsWith(u'-') || argument.size() < 2)
            continue;
        const bool isLong = argument.startsWith(u"--"_s);
        const QString spelled = argument.section(u'=', 0, 0);
        const QString name = spelled.mid(isLong ? 2 : 1);
        if (unknown.contains(name))
            return !isLong && name.size() == 1 ? u"invalid option -- '%1'"_s.arg(name)
                                               : u"unrecognized option '%1'"_s.arg(spelled);
        // A cluster of single letters (-xv): the first one unknown.
        if (!isLong && !unknown.isEmpty() && !optionNamed(options, name)) {
            for (const QChar letter : name) {
                if (unknown.contains(QString(letter)))
                    return u"invalid option -- '%1'"_s.arg(letter);
            }
        }
        const QCommandLineOption *option = optionNamed(options, name);
        if (!option)
            continue;
        const bool takesValue = !option->valueName().isEmpty();
        const bool hasValue = argument.contains(u'=');
        if (takesValue && !hasValue) {
            if (at + 1 >= arguments.size())
                return u"option '%1' requires an argument"_s.arg(spelled);
            ++at; // its value, whatever it looks like
        } else if (!takesValue && hasValue) {
            return u"option '%1' doesn't allow an argument"_s.arg(spelled);
        }
    }
    return parser.errorText();
}

QString invalidArgument(QStringView option, QStringView value, const QStringList &valid)
{
    return u"invalid argument '%1' for '%2'; valid arguments are %3"_s.arg(value, option, valid.join(u", "_s));
}

} // namespace cli
