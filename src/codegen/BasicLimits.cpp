// SPDX-License-Identifier: GPL-3.0-or-later
#include "codegen/BasicLimits.h"

#include "basic/Module.h"

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
    if (basic::isReservedWord(name))
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
