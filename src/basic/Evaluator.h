// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Module.h"
#include "basic/Names.h"

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

// How the module's BASIC gives texts their characters, where dialects and
// computers differ.
struct TextSemantics
{
    Dialect dialect = Dialect::VisualBasic;
    // LibreOffice Basic with Option VBASupport 1: Visual Basic's constants.
    bool vbaSupport = false;
    // The code page Visual Basic's Chr takes codes from 128 up in: the
    // module's encoding when given, else Windows-1252.
    QString codePage;
};

class Evaluator
{
public:
    // maxText: the longest text (in UTF-16 units) that a name may hold.
    explicit Evaluator(const Module &module, qsizetype maxText, TextSemantics semantics = {});

    // Refuses when the module declares the BASIC name that token k (or a
    // part of the dotted name from k) spells: then it is not BASIC's own.
    void requireBuiltin(qint32 k, qint32 end = -1) const;
    const TextSemantics &semantics() const { return m_semantics; }

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
    // Refuses unless every use of the control in the module's code is
    // `Control.Property` with its own name: not through Me. or a form, a
    // With, a Set or a call that is given it, any of which may change its
    // settings unseen; and unless the module declares nothing so named.
    void requireControl(const QString &control, qint32 at) const;
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

    // A name's key: a plain name without its type suffix (s and s$ are one
    // variable), a control's property as written.
    static QString keyOf(const QString &chain);
    void run(qint32 statement);
    // Gives the name the value from token valueBegin on (appendTo: for
    // Gambas's `s &= …`, the token that names s); the value's end.
    qint32 assign(qint32 index, const QString &key, qint32 valueBegin, bool constant, qint32 appendTo = -1);
    // The text of the value [v, valueEnd), `s = s & …` taking s's old text.
    QString valueText(qint32 index, const QString &key, qint32 v, qint32 valueEnd, qint32 appendTo, bool &appPath);
    // Whether the name is the procedure's own Dim of a text, not yet set,
    // so that appending to it starts from "".
    bool startsEmpty(qint32 index, const QString &key, qint32 token) const;
    void enterProcedure(qint32 procedure);
    // What `name` holds at `at`, read at token `token`: refused with the
    // reason unless it is sure.
    const QString &lookup(const QString &key, qint32 token, qint32 at, const QString &what, bool *appPath = nullptr);
    // Refuses unless every occurrence of the name, where it means what
    // `token` reads, is one this reader follows: read, set by a plain
    // assignment, passed to a call, or the one declaration.
    void requireAccounted(const QString &key, qint32 token, qint32 procedure, const Declaration *declaration,
                          bool local);
    // Why the change of `key` at `changed` may not be what `at` sees, or
    // nothing when it surely is.
    std::optional<QString> unsure(const QString &key, const QString &spelling, qint32 changed, qint32 at) const;
    void concat(qint32 &i, qint32 end, qint32 at, QString &out, const QString &what, int depth);
    void term(qint32 &i, qint32 end, qint32 at, QString &out, const QString &what, int depth);
    bool mayBeText(qint32 begin, qint32 end) const;
    const Declaration *declarationOf(const QString &key, qint32 procedure, bool *local = nullptr) const;

    // Refuses unless the name that `key` reads at `at` is a variable this
    // reader follows: a procedure's own Dim of a text type.
    void requireFollowed(qint32 token, qint32 at, const Declaration *declaration, bool local) const;
    // Why a declared name is no variable a read follows, or nothing.
    std::optional<QString> whyNotFollowed(const QString &spelling, const Declaration &declaration, bool local,
                                          const Procedure &procedure) const;
    // Whether the statement gives the name to a call other than the boxes
    // that are read and the call that holds token, which may change it
    // before token is read.
    bool passedElsewhere(qint32 statement, const QString &key, qint32 token) const;
    // Whether a read may follow the name in the procedure: its own Dim of a
    // text type (whyNotFollowed says why not).
    bool followed(const QString &key, qint32 procedure) const;
    // Whether the statement is an assignment to the name.
    bool assigns(qint32 statement, const QString &key) const;
    QChar chr(qint64 code, bool wide, qint32 start, const QString &name) const;

    const Module &m;
    const Tokens &t;
    TextSemantics m_semantics;
    qsizetype m_maxText;
    qsizetype m_held = 0;
    qsizetype m_budget;
    qint32 m_next = 0;
    qint32 m_procedure = -1;
    QHash<QString, Binding> m_env;
    QHash<QString, Binding> m_moduleConstants;
    QHash<QString, QHash<QString, Setting>> m_controls;
    QHash<QString, qint32> m_accounted; // name/procedure: its first unfollowed use, or -1
};

} // namespace basic
