// SPDX-License-Identifier: GPL-3.0-or-later
#include "codegen/BasicLimits.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace codegen {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("BasicLimits", text);
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

} // namespace

bool isReservedWord(QStringView word)
{
    // Visual Basic's and LibreOffice Basic's statements, types and literals:
    // a variable of one of these names does not compile in one or the other.
    static constexpr auto words = std::to_array<QStringView>({
        u"Alias", u"And", u"Any", u"As", u"Boolean", u"ByRef", u"Byte", u"ByVal", u"Call", u"Case", u"CBool",
        u"CByte", u"CCur", u"CDate", u"CDbl", u"CInt", u"CLng", u"Close", u"Const", u"CSng", u"CStr",
        u"Currency", u"CVar", u"Date", u"Decimal", u"Declare", u"DefInt", u"DefStr", u"Dim", u"Do", u"Double",
        u"Each", u"Else", u"ElseIf", u"Empty", u"End", u"EndIf", u"Enum", u"Eqv", u"Erase", u"Error", u"Event",
        u"Exit", u"Explicit", u"False", u"For", u"Friend", u"Function", u"Get", u"Global", u"GoSub", u"GoTo",
        u"If", u"Imp", u"Implements", u"In", u"Integer", u"Is", u"Let", u"Like", u"Long", u"Loop", u"LSet",
        u"Me", u"Mod", u"New", u"Next", u"Not", u"Nothing", u"Null", u"Object", u"On", u"Open", u"Option",
        u"Optional", u"Or", u"ParamArray", u"Preserve", u"Print", u"Private", u"Property", u"Public",
        u"RaiseEvent", u"ReDim", u"Rem", u"Resume", u"Return", u"RSet", u"Select", u"Set", u"Single", u"Static",
        u"Step", u"Stop", u"String", u"Sub", u"Then", u"To", u"True", u"Type", u"TypeOf", u"Until", u"Variant",
        u"Wend", u"While", u"With", u"WithEvents", u"Xor",
    });
    const auto same = [word](QStringView reserved) { return word.compare(reserved, Qt::CaseInsensitive) == 0; };
    return std::any_of(words.begin(), words.end(), same);
}

QString identifierProblem(QStringView name)
{
    if (name.isEmpty())
        return tr("The variable needs a name.");
    if (!isAsciiLetter(name.front()))
        return tr("A variable name starts with a letter (A to Z).");
    const auto other = std::find_if(name.begin(), name.end(), [](QChar c) {
        return !isAsciiLetter(c) && !(c >= u'0' && c <= u'9') && c != u'_';
    });
    if (other != name.end()) {
        const QChar c = *other;
        QString shown = u"'"_s + c + u"'"_s;
        if (c == u' ')
            shown = tr("a space");
        else if (!c.isPrint() || c.isSurrogate())
            shown = u"U+"_s + u"%1"_s.arg(int(c.unicode()), 4, 16, QChar(u'0')).toUpper();
        return tr("A variable name holds only letters (A to Z), digits and \"_\", not %1.").arg(shown);
    }
    if (name.size() > IdentifierLength)
        return tr("A variable name has at most %1 characters; this one has %2.")
            .arg(IdentifierLength)
            .arg(name.size());
    if (isReservedWord(name))
        return tr("'%1' is a word of BASIC itself and cannot name a variable.").arg(name);
    return {};
}

qsizetype characterCount(QStringView text)
{
    qsizetype count = text.size();
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i].isHighSurrogate() && text[i + 1].isLowSurrogate()) {
            --count;
            ++i;
        }
    }
    return count;
}

qsizetype utf8Size(QStringView text)
{
    qsizetype size = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            size += 1;
        } else if (c < 0x800) {
            size += 2;
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            size += 4;
            ++i;
        } else if (QChar::isSurrogate(c)) {
            // A lone surrogate goes out as "?".
            size += 1;
        } else {
            size += 3;
        }
    }
    return size;
}

bool promptTooLong(QStringView prompt)
{
    // Two code units a character at most: a short text needs no count.
    return prompt.size() > PromptShownLength && characterCount(prompt) > PromptShownLength;
}

bool blockTooLarge(QStringView code)
{
    // A code unit is one to three bytes; a pair is four.
    return 3 * code.size() > BlockSizeLimit && utf8Size(code) > BlockSizeLimit;
}

QString promptLengthNote(QStringView prompt)
{
    if (!promptTooLong(prompt))
        return {};
    const QLocale locale;
    return QCoreApplication::translate("BasicLimits",
                                       "The prompt has %1 characters; BASIC's message and input boxes show only "
                                       "the first %2.")
        .arg(locale.toString(characterCount(prompt)), locale.toString(PromptShownLength));
}

QString blockSizeNote(QStringView code)
{
    if (!blockTooLarge(code))
        return {};
    return blockSizeNoteForBytes(utf8Size(code));
}

QString blockSizeNoteForBytes(qint64 utf8Bytes)
{
    if (utf8Bytes <= BlockSizeLimit)
        return {};
    const QLocale locale;
    return QCoreApplication::translate("BasicLimits",
                                       "The code is %1 KB, more than the %2 KB that BASIC takes in one procedure; "
                                       "split it or shorten its texts.")
        .arg(locale.toString((utf8Bytes + 1023) / 1024), locale.toString(BlockSizeLimit / 1024));
}

} // namespace codegen
