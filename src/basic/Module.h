// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Tokens.h"

#include <QHash>
#include <QSet>

#include <optional>
#include <vector>

// A module cut into statements, with the blocks, procedures, jumps and
// changes of every name: what a reader needs to know whether a text that a
// variable holds at some statement is sure.
namespace basic {

enum class BlockKind : quint8 {
    Procedure,
    Branch, // runs or not: a part of an If or Select, a one-line If, an open #If, code before an unmatched End If
    Loop,
    Container, // If … End If, Select … End Select: runs as its parts do
    With,      // With … End With: runs straight through
};

struct Block
{
    qint32 parent;
    BlockKind kind;
    qint32 opening; // the statement that opens it
    qint32 last;    // one past its last statement
};

struct Statement
{
    qint32 begin; // tokens
    qint32 end;
    qint32 block;
    qint32 procedure;
    bool changesCalls = false; // calls code that may change any name
};

// What one occurrence of a name does, as far as the parser can tell. Every
// name token gets one; what the parser did not take stays Unknown, which
// counts as a use that may declare or change the name.
enum class Role : quint8 {
    None,     // no name: punctuation, a literal, a comment
    Unknown,  // a use the parser does not model
    Keyword,  // BASIC's own word in its place (Dim, As String, End Sub)
    Read,     // its value, in an expression
    Member,   // after a dot: a member of something else
    Called,   // a procedure or function called
    Passed,   // given to a call, which may change it (ByRef)
    Assigned, // set: an assignment's target, a For's counter, Input's
    Control,  // named by a form's designer part
    Declared,
};

// A declared name: its type as written ("" for none), and whether a text
// can be followed through it.
struct Declaration
{
    QString type;
    bool text = true;
    bool parameter = false;
    bool constant = false;
    qint32 statement = -1;
    qint32 token = -1;
    QString keyword; // dim, static, private, public, global, const, redim; empty for a parameter
};

// A name the module declares, under any kind of declaration: where, and
// as what ("Sub", "Dim", "Const", "a parameter", "a label", …).
struct DeclaredName
{
    qint32 token = -1;
    QString kind;
    // Declared, or how else the module makes the name its own (set as a
    // variable, a control of its form, a use the parser cannot tell).
    Role role = Role::Declared;
};

// A property a form's designer part sets on a control: the value's tokens.
struct DesignerProperty
{
    qint32 name = -1;
    qint32 begin = -1;
    qint32 end = -1;
};

struct Procedure
{
    qint32 block = 0;
    qint32 first = 0;
    qint32 last = 0;
    QString name; // empty for code outside any Sub or Function
    qint32 tokenBegin = 0; // its text, #If parts left out included
    qint32 tokenEnd = 0;
    std::vector<qint32> labels;
    qint32 jumpBack = -1; // the first Resume, GoSub or Return
    std::vector<qint32> gotos; // GoTo, On … GoTo, a line number after Then
    bool isStatic = false;  // Static Sub or Function: its locals live on
    QHash<QString, Declaration> locals;
};

class Module
{
public:
    // gambas: the text is Gambas's (backslash escapes, lines that go on
    // after & or a comma, &=).
    explicit Module(QStringView text, bool gambas = false);

    const Tokens &tokens() const { return m_tokens; }
    const std::vector<Statement> &statements() const { return m_statements; }
    const std::vector<Block> &blocks() const { return m_blocks; }
    const std::vector<Procedure> &procedures() const { return m_procedures; }
    const QHash<QString, Declaration> &moduleDeclarations() const { return m_moduleDeclarations; }
    // The comments that start their lines, outside code that #If leaves out.
    const std::vector<qint32> &lineComments() const { return m_lineComments; }

    // The first declaration of the name anywhere in the text (any case; a
    // type suffix is no part of it: s and s$ are one name), or nothing. Any
    // occurrence that sets the name, or that the parser cannot tell, counts:
    // code that uses BASIC's own name so may mean something else by it.
    const DeclaredName *declaration(QStringView name) const;
    // The role of every token: what each occurrence of a name does.
    const std::vector<Role> &roles() const { return m_roles; }
    // The first occurrence of the name in tokens [begin, end) whose role is
    // not one that a reader follows (read, called, passed, assigned, or
    // declared at `declaredAt`), or -1.
    qint32 unfollowedUse(const QString &key, qint32 begin, qint32 end, qint32 declaredAt) const;
    // Whether a Def… statement (DefInt A-Z, …) gives undeclared names a type.
    bool hasDefType() const { return m_hasDefType; }
    // The type a name has without an As: its suffix's ($ is String, % is
    // Integer, …), else what a Def… statement gives its first letter, else
    // "" (a Variant).
    QString implicitType(QStringView name) const;
    // The properties that a designer part (a form's Begin … End) sets on the
    // control, by lower-case name; nullptr when no designer part names it.
    const QHash<QString, DesignerProperty> *designerProperties(const QString &control) const;
    // Whether the text holds a designer part at all.
    bool hasDesignerPart() const { return m_hasDesignerPart; }

    // The statements that change the name (lower case; "control.property"
    // for a property), in order.
    const std::vector<qint32> &changesOf(const QString &name) const;
    // Those of every name.
    const QHash<QString, std::vector<qint32>> &changes() const { return m_changes; }
    // The first tokens of the calls in the statement that may change what
    // they are given (BASIC's own functions that change nothing are left out).
    const std::vector<qint32> &callHeads(qint32 statement) const;
    // Calls of code that may change any name in [from, to).
    bool callsBetween(qint32 from, qint32 to) const { return m_callsBefore[to] - m_callsBefore[from] > 0; }
    qint32 firstCallBetween(qint32 from, qint32 to) const;
    // The line a statement starts on, for messages.
    int lineOf(qint32 statement) const;
    // Where a text offset is, as an editor counts: quick for any number of
    // places.
    LineColumn lineColumnOf(qsizetype pos) const;
    // Whether the With object that `.Name` means in the statement is known,
    // and its name.
    std::optional<QString> withObject(qint32 statement) const;

    // Functions of BASIC that change none of their arguments.
    static bool isPureFunction(QStringView name);

private:
    friend class ModuleBuilder;
    // A second parse of the same tokens, for the builder.
    explicit Module(const Tokens &tokens);
    Tokens m_tokens;
    std::vector<Statement> m_statements;
    std::vector<Block> m_blocks;
    std::vector<Procedure> m_procedures;
    std::vector<Role> m_roles;
    QHash<QString, Declaration> m_moduleDeclarations;
    QHash<QString, std::vector<qint32>> m_changes;
    std::vector<qint32> m_callsBefore;
    std::vector<qint32> m_lineComments;
    std::vector<qsizetype> m_lineStarts;
    QHash<qint32, QString> m_withObjects;
    QHash<qint32, std::vector<qint32>> m_callHeads;
    QHash<QString, DeclaredName> m_declared;
    QHash<QString, QHash<QString, DesignerProperty>> m_designer;
    bool m_hasDefType = false;
    QString m_defTypes[26];
    bool m_hasDesignerPart = false;
};

// A name as a key: lower case, without its type suffix ($ % & ! # @).
QString nameKey(QStringView name);
// Whether a name token spells the key.
bool spells(QStringView name, const QString &key);
// Whether the word is one of BASIC's reserved words (Dim, String, Next...),
// in Visual Basic or LibreOffice Basic.
bool isReservedWord(QStringView word);
// Whether the name is BASIC's own where the module does not declare it:
// a function, a statement's word, an object or a constant.
bool isBuiltinName(QStringView name);

} // namespace basic
