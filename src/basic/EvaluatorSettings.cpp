// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/Evaluator.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace basic {

std::vector<Evaluator::Setting> Evaluator::settingsOf(const QString &control, qint32 at, const QString &written)
{
    std::vector<Setting> settings;
    const Statement &reader = m.statements()[std::size_t(at)];
    const Procedure &procedure = m.procedures()[std::size_t(reader.procedure)];
    const qsizetype pos = t.pos(reader.begin);
    QString spelling = written.isEmpty() ? control : written;
    if (written.isEmpty()) {
        qint32 k = reader.begin;
        if (t.isIdent(k))
            spelling = t.nameChain(k, reader.end).section(u'.', 0, -2);
    }
    for (const qint32 change : m.changesOf(control)) {
        if (change >= procedure.first && change < at)
            Tokens::refuse(pos, u"%1 is given to other code on line %2, which may change its settings"_s.arg(spelling)
                                    .arg(m.lineOf(change)));
    }
    if (m.callsBetween(procedure.first, at))
        Tokens::refuse(pos, u"the call on line %1 may change %2's settings"_s.arg(m.lineOf(m.firstCallBetween(procedure.first, at)))
                                .arg(spelling));
    for (const char *property : {"dialogtitle", "filter", "flags", "defaultext", "cancelerror", "filename", "initdir"}) {
        for (const qint32 change : m.changesOf(control + u'.' + QLatin1StringView(property))) {
            if (m.statements()[std::size_t(change)].procedure != reader.procedure)
                Tokens::refuse(pos, u"%1.%2 is set in another procedure, on line %3"_s.arg(spelling, QLatin1StringView(property))
                                        .arg(m.lineOf(change)));
        }
    }
    for (const Setting &setting : m_controls.value(control)) {
        if (setting.statement >= at)
            continue;
        const QString key = control + u'.' + setting.property;
        const std::vector<qint32> &changes = m.changesOf(key);
        const auto after = std::lower_bound(changes.begin(), changes.end(), at);
        const QString name = t.text(setting.name, setting.begin - 1).toString();
        const qint32 last = after == changes.begin() ? -1 : *(after - 1);
        // The module records no change of the property before `at` (it
        // takes `Open.Filter = …` for an Open statement): nothing says the
        // setting holds.
        if (last < 0)
            Tokens::refuse(t.pos(setting.name), u"%1 is set on line %2 in a way this program cannot follow"_s.arg(name)
                                                    .arg(m.lineOf(setting.statement)));
        if (last != setting.statement)
            Tokens::refuse(t.pos(setting.name), u"%1 is changed again on line %2"_s.arg(name).arg(m.lineOf(last)));
        if (const std::optional<QString> why = unsure(key, name, setting.statement, at))
            Tokens::refuse(t.pos(setting.name), *why);
        settings.push_back(setting);
    }
    std::sort(settings.begin(), settings.end(), [](const Setting &a, const Setting &b) { return a.statement < b.statement; });
    // What the form's designer part sets is where the control starts: the
    // code must set it again before it is shown.
    if (const QHash<QString, DesignerProperty> *designed = m.designerProperties(control)) {
        static const QSet<QString> layout{u"_extentx"_s, u"_extenty"_s, u"_version"_s, u"left"_s, u"top"_s};
        for (auto it = designed->cbegin(); it != designed->cend(); ++it) {
            const bool setAgain = std::any_of(settings.begin(), settings.end(),
                                              [&](const Setting &setting) { return setting.property == it.key(); });
            if (!layout.contains(it.key()) && !setAgain)
                Tokens::refuse(pos, u"%1's %2 is set in the form's designer part (line %3), which this code does not set again"_s
                                        .arg(spelling, t.text(it->name).toString())
                                        .arg(m.lineColumnOf(t.pos(it->name)).line));
        }
    }
    return settings;
}

void Evaluator::requireControl(const QString &control, qint32 at) const
{
    const qsizetype pos = t.pos(m.statements()[std::size_t(at)].begin);
    if (const DeclaredName *declared = m.declaration(control); declared && declared->role != Role::Control)
        Tokens::refuse(pos, u"%1 is declared in this module (line %2), so it is no control of the form"_s.arg(t.text(declared->token))
                                .arg(m.lineColumnOf(t.pos(declared->token)).line));
    const QString key = nameKey(control);
    for (const Statement &s : m.statements()) {
        for (qint32 k = s.begin; k < s.end; ++k) {
            if (!t.isIdent(k) || t.text(k).size() != control.size() || nameKey(t.text(k)) != key)
                continue;
            const int line = m.lineColumnOf(t.pos(k)).line;
            if (k > s.begin && t.isPunct(k - 1, u'.'))
                Tokens::refuse(pos, u"%1 is reached through %2 on line %3; only %1.Property is followed"_s.arg(t.text(k))
                                        .arg(t.text(k - 2 >= s.begin ? k - 2 : k - 1, k).toString())
                                        .arg(line));
            if (k + 2 >= s.end || !t.isPunct(k + 1, u'.') || !t.isIdent(k + 2))
                Tokens::refuse(pos, u"%1 is used as a whole on line %2 (With, Set or a call given it), which may change its settings"_s
                                        .arg(t.text(k))
                                        .arg(line));
        }
    }
}

QString Evaluator::settingText(const Setting &setting, const QString &what)
{
    const QString key = [&]() -> QString {
        qint32 k = setting.name;
        if (t.isPunct(k, u'.')) {
            ++k;
            return m.withObject(setting.statement).value_or(QString()) + u'.' + t.nameChain(k, setting.end).toLower();
        }
        return t.nameChain(k, setting.end).toLower();
    }();
    const auto binding = m_env.constFind(key);
    if (binding == m_env.cend() || binding->statement != setting.statement)
        Tokens::refuse(t.pos(setting.name), u"%1 is changed again before it is used"_s.arg(t.text(setting.name, setting.begin - 1)));
    if (!binding->value)
        Tokens::refuse(t.pos(setting.begin), reasonOf(*binding));
    if (binding->appPath)
        Tokens::refuse(t.pos(setting.begin), u"App.Path: %1 can only hold fixed text"_s.arg(what));
    if (binding->value->contains(u'\r') || binding->value->contains(u'\n'))
        Tokens::refuse(t.pos(setting.begin), u"%1 holds a line break; it can only hold one line"_s.arg(what));
    return *binding->value;
}

} // namespace basic
