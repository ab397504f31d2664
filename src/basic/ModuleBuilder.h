// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Module.h"

#include <vector>

// Inside the module's parser: the builder that cuts a module into statements
// and blocks, shared by the files that handle each kind of line.
namespace basic {

QString lowerCase(QStringView s);
// Names an expression may use that are no user code: BASIC's own objects
// and values, and the dialects' constants.
bool isBuiltinValue(QStringView name);
// The type a Def… statement gives ("DefInt" is Integer), or "" when the word
// is none.
QString defType(QStringView word);

// Whether token k is the word, within a statement that ends at `end`.
struct WordsBefore
{
    const Tokens &t;
    qint32 end;
    template<std::size_t N>
    bool operator()(qint32 k, const char16_t (&w)[N]) const
    {
        return k < end && t.isWord(k, w);
    }
};

// Cuts the module into statements and blocks, in one pass over its tokens.
class ModuleBuilder
{
public:
    explicit ModuleBuilder(Module &module) : m(module), t(module.m_tokens) {}
    void run();

private:
    void collectNames();
    void collectDefTypes(qint32 i, const QString &type);
    void line(qint32 begin, qint32 end);
    void range(qint32 begin, qint32 end);
    void statement(qint32 begin, qint32 end);
    void directive(qint32 index);

    // The kinds of statement, each true when it took the statement. i is
    // the first token after the modifiers (Public, Private, …).
    bool declarationStatement(qint32 begin, qint32 i, qint32 end, bool modified);
    bool procedureStatement(qint32 begin, qint32 i, qint32 end);
    void parameters(qint32 open, qint32 end, qint32 statement);
    bool blockStatement(qint32 begin, qint32 i, qint32 end);
    bool branchStatement(qint32 begin, qint32 i, qint32 end);
    bool loopStatement(qint32 begin, qint32 i, qint32 end);
    bool withStatement(qint32 begin, qint32 i, qint32 end);
    bool jumpStatement(qint32 i, qint32 end, qint32 statement);
    // Statements that change or pass on names: Input, LSet, an
    // assignment, a call.
    void plainStatement(qint32 i, qint32 end, qint32 statement);
    bool assignment(qint32 i, qint32 end, qint32 statement, bool call);
    // Whether the name (lower case) is an array this procedure or the
    // module declares.
    bool isArray(const QString &name) const;
    // Whether the innermost open block is a part of a Container.
    bool inContainerPart() const;

    qint32 addStatement(qint32 begin, qint32 end);
    qint32 openBlock(BlockKind kind, qint32 opening);
    void closeBlock();
    qint32 current() const { return m_stack.back(); }
    BlockKind currentKind() const { return m.m_blocks[std::size_t(current())].kind; }
    // A closing statement whose opening is not in the text: the code
    // before it in the procedure ran under a condition or in a loop.
    void unmatched(BlockKind kind);
    // A procedure whose text starts at the token.
    void startProcedure(const QString &name, qint32 tokenBegin);
    void endProcedure();

    void change(const QString &name, qint32 statement);
    // Gives token k the role, where it is a name and has none stronger.
    void mark(qint32 k, Role role);
    // The names of tokens [begin, end) read: members after a dot.
    void markRead(qint32 begin, qint32 end);
    // After the pass: reserved words are keywords; a [bracketed] name is
    // one the parser does not follow.
    void finishRoles();
    // Records a declaration of the name at that token, the first one kept.
    void declared(qint32 token, const QString &kind);
    // A line of a form's designer part (VERSION, Begin … End): properties,
    // never code. Whether the line was one.
    bool designerLine(qint32 begin, qint32 end);
    bool designerStart(qint32 begin, qint32 end);
    // Marks a designer line's names: the control's (token `control`), and
    // the rest, which are no code.
    void designerNames(qint32 begin, qint32 end, qint32 control);
    // Marks `As Type [= default]` in [begin, end).
    void typeAndValue(qint32 begin, qint32 end);
    // Records the calls in tokens [begin, end) and the names passed to
    // them, which they may change.
    void expression(qint32 begin, qint32 end, qint32 statement);
    void declare(qint32 begin, qint32 end, qint32 statement, bool moduleLevel, bool isConst);
    void changeNamesIn(qint32 begin, qint32 end, qint32 statement);
    bool active() const { return m_everyBranch || m_conditions.empty() || m_conditions.back().active; }
    // Gives the names in code that #If leaves out the roles they would have
    // were it compiled: a declaration there still makes a name the module's.
    void rolesLeftOut();

    Module &m;
    const Tokens &t;
    std::vector<qint32> m_stack;
    qint32 m_procedure = -1;
    bool m_inProcedure = false; // opened by a Sub or Function line
    qint32 m_barrierStart = 0;
    std::vector<qint32> m_pendingBlocks;
    std::vector<qint32> m_oneLine;
    // How many blocks were open before the line's first one-line If.
    std::size_t m_oneLineBase = 0;
    bool m_inType = false;
    bool m_inEnum = false;
    QSet<QString> m_variables;
    QSet<QString> m_procedureNames;
    std::vector<QString> m_withs; // parallel to the With containers that are open
    std::vector<qint32> m_withBlocks;
    // The controls of the designer part whose Begin is open, innermost
    // last, and how deep its BeginProperty sections go.
    std::vector<QString> m_designerControls;
    int m_designerPropertyDepth = 0;
    bool m_designerSeen = false;
    qint32 m_lineBegin = 0; // the line being parsed: its tokens
    qint32 m_lineEnd = 0;

    struct Condition
    {
        bool active;     // this part runs
        bool taken;      // a part of this #If has run
        bool decided;    // the conditions could be worked out
        bool outerActive;
        qint32 branch;   // the Branch block of an undecided #If, or -1
    };
    std::vector<Condition> m_conditions;
    QHash<QString, qint64> m_directiveConstants;
    // Parsing every #If part as compiled, only for the roles.
    bool m_everyBranch = false;
    std::vector<std::pair<qint32, qint32>> m_leftOut; // lines #If leaves out
};

} // namespace basic
