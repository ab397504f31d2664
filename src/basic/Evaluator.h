// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Module.h"

#include <QHash>
#include <QString>

#include <optional>

// Runs a module's statements in order as far as a reader needs, keeping the
// texts that names hold, and answers what a text expression is at some
// statement: all or nothing. A name's text is followed only through plain
// assignments in the same procedure that surely run, in order, before the
// statement that reads it; anything else that could change or skip them
// makes the read a refusal that says why.
namespace basic {

class Evaluator
{
public:
    // maxText: the longest text (in UTF-16 units) that a name may hold.
    explicit Evaluator(const Module &module, qsizetype maxText);

    // Runs the statements before `statement`.
    void runTo(qint32 statement);

    // The text of tokens [begin, end) at the statement that holds them.
    QString text(qint32 begin, qint32 end, qint32 at, const QString &what);
    // The same, refused when it holds a line break.
    QString singleLine(qint32 begin, qint32 end, qint32 at, const QString &what);
    // For a help file: a name that holds App.Path & "…", with the part after
    // App.Path; nothing when the name holds no such text.
    std::optional<QString> appPathText(qint32 token, qint32 at, const QString &what);

    // A control's property setting before the statement, in its procedure.
    struct Setting
    {
        QString property; // lower case
        qint32 statement;
        qint32 name;  // the setting's first token
        qint32 begin; // the value's tokens
        qint32 end;
    };
    // Every property of the control set before `at` in its procedure, each
    // refused unless it surely holds its value at `at`.
    // `spelling`: the control as the messages name it, when the statement at
    // `at` does not start with it.
    std::vector<Setting> settingsOf(const QString &control, qint32 at, const QString &spelling = {});
    // A text property's value, as the setting statement made it.
    QString settingText(const Setting &setting, const QString &what);

private:
    struct Binding
    {
        qint32 statement = -1;
        std::optional<QString> value;
        QString reason; // why there is no value
        bool appPath = false;
        bool constant = false;
        bool notText = false; // given something that is no text
    };
    QString reasonOf(const Binding &binding) const;

    void run(qint32 statement);
    void enterProcedure(qint32 procedure);
    // What `name` holds at `at`, read at token `token`: refused with the
    // reason unless it is sure.
    const QString &lookup(const QString &key, qint32 token, qint32 at, const QString &what, bool *appPath = nullptr);
    // Why the change of `key` at `changed` may not be what `at` sees, or
    // nothing when it surely is.
    std::optional<QString> unsure(const QString &key, const QString &spelling, qint32 changed, qint32 at) const;
    void concat(qint32 &i, qint32 end, qint32 at, QString &out, const QString &what, int depth);
    void term(qint32 &i, qint32 end, qint32 at, QString &out, const QString &what, int depth);
    bool mayBeText(qint32 begin, qint32 end) const;
    const Declaration *declarationOf(const QString &key, qint32 procedure, bool *local = nullptr) const;

    const Module &m;
    const Tokens &t;
    qsizetype m_maxText;
    qsizetype m_held = 0;
    qsizetype m_budget;
    qint32 m_next = 0;
    qint32 m_procedure = -1;
    QHash<QString, Binding> m_env;
    QHash<QString, Binding> m_moduleConstants;
    QHash<QString, QHash<QString, Setting>> m_controls;
};

} // namespace basic
