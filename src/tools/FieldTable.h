// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/ToolOptions.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// A tool's fields as `generate` takes them and `read` gives them back: per
// field its option name, kind, description, and how to get and set it. The
// options, `read`'s JSON members, the JSON of a read and the fields for a
// command line (or for --from-json's object, which fills the same options)
// all come from the one table, so that they cannot drift apart.
template<typename Fields>
class FieldTable
{
public:
    using Kind = JsonMember::Kind;
    // The field's value for `read`; a null value leaves it out of the code.
    using Get = std::function<QJsonValue(const Fields &)>;

    // A text field; line breaks reach the setter as CR LF.
    FieldTable &text(const QString &name, const QString &description, Get get,
                     std::function<void(Fields &, const QString &)> set,
                     ToolOptions::Lines lines = ToolOptions::Lines::Single)
    {
        return single(name, Kind::Text, std::move(get), std::move(set), &ToolOptions::text,
                      [name, description, lines](ToolOptions &options) { options.addText(name, description, lines); });
    }

    // A repeated text option, a JSON array.
    FieldTable &list(const QString &name, const QString &description, std::function<QJsonValue(const Fields &)> get,
                     std::function<void(Fields &, const QStringList &)> set)
    {
        m_rows.append({name, Kind::List, std::move(get),
                       [name, set = std::move(set)](const ToolOptions &options, Fields &fields) {
                           if (const QStringList values = options.texts(name); !values.isEmpty())
                               set(fields, values);
                       },
                       [name, description](ToolOptions &options) { options.addRepeatedText(name, description); }});
        return *this;
    }

    // A flag; `set` is what giving it does.
    FieldTable &flag(const QString &name, const QString &description, std::function<bool(const Fields &)> get,
                     std::function<void(Fields &)> set)
    {
        m_rows.append({name, Kind::Flag, [get = std::move(get)](const Fields &fields) { return QJsonValue(get(fields)); },
                       [name, set = std::move(set)](const ToolOptions &options, Fields &fields) {
                           if (options.flag(name))
                               set(fields);
                       },
                       [name, description](ToolOptions &options) { options.addFlag(name, description); }});
        return *this;
    }

    // One of `choices`, which the parser checks before `set` sees it.
    FieldTable &choice(const QString &name, const QString &description, const QStringList &choices, Get get,
                       std::function<void(Fields &, const QString &)> set)
    {
        return single(name, Kind::Choice, std::move(get), std::move(set), &ToolOptions::choice,
                      [name, description, choices](ToolOptions &options) {
                          options.addChoice(name, description, choices);
                      });
    }

    // The rows of a table of a part of the fields (the help button's), in
    // their order.
    template<typename Part>
    FieldTable &part(const FieldTable<Part> &table, Part Fields::*member)
    {
        for (const auto &row : table.m_rows) {
            m_rows.append({row.name, row.kind,
                           [get = row.get, member](const Fields &fields) { return get(fields.*member); },
                           [apply = row.apply, member](const ToolOptions &options, Fields &fields) {
                               apply(options, fields.*member);
                           },
                           row.declare});
        }
        return *this;
    }

    void declare(ToolOptions &options) const
    {
        for (const Row &row : m_rows)
            row.declare(options);
    }

    // Sets the fields whose options were given, in the table's order, so
    // that a setter may rely on the fields of the rows before it.
    void apply(const ToolOptions &options, Fields &fields) const
    {
        for (const Row &row : m_rows)
            row.apply(options, fields);
    }

    QList<JsonMember> jsonMembers() const
    {
        QList<JsonMember> members;
        for (const Row &row : m_rows)
            members.append({row.name, row.kind});
        return members;
    }

    QJsonObject toJson(const Fields &fields) const
    {
        QJsonObject object;
        for (const Row &row : m_rows)
            object.insert(row.name, row.get(fields));
        return object;
    }

private:
    template<typename>
    friend class FieldTable;

    // A field of one value, read by `value` (ToolOptions::text or choice).
    FieldTable &single(const QString &name, Kind kind, Get get, std::function<void(Fields &, const QString &)> set,
                       std::optional<QString> (ToolOptions::*value)(const QString &) const,
                       std::function<void(ToolOptions &)> declare)
    {
        m_rows.append({name, kind, std::move(get),
                       [name, set = std::move(set), value](const ToolOptions &options, Fields &fields) {
                           if (const std::optional<QString> given = (options.*value)(name))
                               set(fields, *given);
                       },
                       std::move(declare)});
        return *this;
    }

    struct Row
    {
        QString name;
        Kind kind;
        Get get;
        std::function<void(const ToolOptions &, Fields &)> apply;
        std::function<void(ToolOptions &)> declare;
    };
    QList<Row> m_rows;
};

// A QStringList as a JSON array.
inline QJsonValue jsonList(const QStringList &list)
{
    return QJsonArray::fromStringList(list);
}
