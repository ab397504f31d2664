// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// BASIC's tokens, as the language itself cuts a module: the one lexer of the
// reader, the whole-file command and the code view's colours.
namespace basic {

enum class TokenKind : quint8 {
    Ident,     // a name, with its `$` when it has one
    Number,    // 12, 1.5E3, &H24, &O17, with a type suffix
    String,    // "…" with "" inside
    BadString, // a quotation mark that the line does not close
    Punct,     // one character, or := <= >= <> (and Gambas's &=)
    Comment,   // ' … or Rem …, with the lines a trailing " _" carries on
    Directive, // #If … Then, #Else, #End If, #Const …: the whole line
    Newline,   // the end of a logical line (CR LF, CR or LF)
};

// Eight bytes: dense code has a token for every two or three characters.
struct Token
{
    qint32 pos;       // in UTF-16 units of the text
    quint32 len : 24; // a longer token is cut at MaxTokenLength
    TokenKind kind : 8;
};

// The longest token: more than any line BASIC's editors take
// (MaxLineLength). A reader refuses a text that has a longer one.
inline constexpr qsizetype MaxTokenLength = 0xFFFFFF;

// The longest text the lexer takes: beyond any module, and within what a
// token's position holds.
inline constexpr qsizetype MaxTextLength = 0x3FFFFFFF;

// Every token of the text, in order. Never fails: what BASIC would not
// accept becomes a token that a reader refuses if it has to read it.
// Blanks and the " _" continuations are left out; a continued line is one
// logical line.
// With backslash escapes (Gambas), a backslash in a literal takes the
// character after it, a line that ends in & or a comma goes on, and &= is
// one operator. With a limit, lexing stops after that many tokens.
std::vector<Token> tokenize(QStringView text, bool backslashEscapes = false, std::size_t limit = 0);

bool isIdentStart(QChar c);
bool isIdentPart(QChar c);

// A place in the text as an editor shows it: lines from 1 (CR LF, CR and LF
// each end one), columns from 1 in characters (a pair of UTF-16 surrogates
// is one).
struct LineColumn
{
    int line = 1;
    int column = 1;
};
LineColumn lineColumnAt(QStringView text, qsizetype pos);

} // namespace basic
