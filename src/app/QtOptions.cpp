// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/QtOptions.h"

using namespace Qt::StringLiterals;

namespace {

// As QGuiApplication, QApplication and the X11 plugin take them.
const QStringList &valueOptions()
{
    static const QStringList names{
        u"platform"_s,    u"platformpluginpath"_s, u"platformtheme"_s, u"plugin"_s,     u"qwindowgeometry"_s,
        u"qwindowicon"_s, u"qwindowtitle"_s,       u"style"_s,         u"stylesheet"_s, u"session"_s,
        u"display"_s,     u"geometry"_s,           u"title"_s,         u"icon"_s,       u"name"_s,
    };
    return names;
}

const QStringList &flagOptions()
{
    static const QStringList names{u"reverse"_s, u"widgetcount"_s, u"testability"_s,
                                   u"nograb"_s,  u"dograb"_s,      u"sync"_s};
    return names;
}

// Qt's options that also come as -name=value.
const QStringList &joinedOptions()
{
    static const QStringList names{u"style"_s, u"stylesheet"_s, u"qmljsdebugger"_s};
    return names;
}

} // namespace

std::optional<QStringList> withoutQtOptions(const QStringList &arguments, QString *error)
{
    QStringList rest;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (i == 0 || !argument.startsWith(u'-') || argument == u"-"_s || argument == u"--"_s) {
            rest << argument;
            continue;
        }
        const QString name = argument.mid(argument.startsWith(u"--"_s) ? 2 : 1);
        if (flagOptions().contains(name))
            continue;
        if (valueOptions().contains(name)) {
            if (i + 1 == arguments.size()) {
                *error = u"option '%1' requires an argument"_s.arg(argument);
                return std::nullopt;
            }
            ++i;
            continue;
        }
        const qsizetype equals = name.indexOf(u'=');
        if (equals > 0 && joinedOptions().contains(name.left(equals)))
            continue;
        rest << argument;
    }
    return rest;
}
