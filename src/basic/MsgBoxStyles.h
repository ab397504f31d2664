// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Constants.h"
#include "basic/Dialect.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>

#include <array>
#include <span>

// The message box's values, one table per group and one row per value, with
// every column that a face of the program needs: the generators, readers,
// panels, the live box, the hover and the command line all take their column
// from here, and basic/Names.h builds BASIC's names from the same rows. A new
// column is one edit.
namespace basic {

// The picture a box shows; the platform draws it.
enum class BoxPicture { None, Critical, Question, Warning, Information };

// An answer: the result code and the button that gives it.
struct MsgBoxResultRow
{
    MsgBoxResult value;
    QStringView vbName;          // vbYes
    QStringView libreOfficeName; // IDYES
    // The button's caption as the tools show it and Gambas's box writes it
    // ("Yes"), and with the live box's access key ("&Yes"); both for
    // QT_TRANSLATE_NOOP("MsgBoxStyles", …).
    const char *caption;
    const char *accessCaption;
    // Qt's own caption of the standard button, as QPlatformTheme
    // translates it.
    const char *qtCaption;
    // What the answer's case in the Select Case block says was clicked
    // ("retry", as the block has always written it).
    QStringView replyLabel;
};

// A button set: the answers of its buttons in the order the box shows them.
struct ButtonSetRow
{
    qint32 value;
    QStringView option;          // the command line's and read's "yesnocancel"
    QStringView widget;          // the window's option "optYesNoCancel"
    QStringView vbName;          // vbYesNoCancel
    QStringView libreOfficeName; // MB_YESNOCANCEL
    std::array<MsgBoxResult, 3> answers;
    int buttonCount;

    std::span<const MsgBoxResult> buttons() const { return {answers.data(), std::size_t(buttonCount)}; }
};

struct IconRow
{
    qint32 value;
    QStringView option;      // "question"
    QStringView widget;      // "optQuestion"
    QStringView labelWidget; // the caption under it, "Label3"
    const char *caption;     // "Question", for QT_TRANSLATE_NOOP("MsgBoxStyles", …)
    BoxPicture picture;
    QStringView vbName;          // vbQuestion
    QStringView libreOfficeName; // MB_ICONQUESTION; empty where there is none
    QStringView meaning;         // "the question icon"
    // Gambas's Message function for it ("Question" for Message.Question,
    // empty for Message itself), and whether that box takes one button only.
    QStringView gambasFunction;
    bool gambasOneButton;
};

struct DefaultButtonRow
{
    qint32 value;
    QStringView vbName;          // vbDefaultButton2
    QStringView libreOfficeName; // MB_DEFBUTTON2; empty where there is none
    QStringView ordinal;         // "second"
    // Whether the tools offer it: no set has a fourth button.
    bool offered;
};

// The flags of a bit each: the modality, the Help button and the box's
// options that the tools have none for.
struct MsgBoxFlagRow
{
    qint32 value;
    QStringView vbName;
    QStringView libreOfficeName; // empty where LibreOffice has none
    QStringView meaning;         // "system modal"; empty for no flag
    // Whether the message box tool has an option for it.
    bool offered;
};

std::span<const MsgBoxResultRow> msgBoxResults();
std::span<const ButtonSetRow> buttonSets();
std::span<const IconRow> msgBoxIcons();
std::span<const DefaultButtonRow> defaultButtons();
std::span<const MsgBoxFlagRow> msgBoxFlags();

// The row of the value; null where there is none.
const MsgBoxResultRow *msgBoxResult(int value);
const ButtonSetRow *buttonSet(qint32 value);
const IconRow *msgBoxIcon(qint32 value);
const DefaultButtonRow *defaultButton(qint32 value);

// The option's row ("yesno"); null where there is none.
const ButtonSetRow *buttonSetOption(QStringView option);
const IconRow *msgBoxIconOption(QStringView option);

// The result codes of a button set's buttons, in the order the box shows
// them; empty for a value that is no button set.
QList<int> msgBoxButtonCodes(qint32 buttonSet);

// The buttons' captions joined for reading: "Yes, No and Cancel".
QString buttonSetMeaning(const ButtonSetRow &set);

// The default button's place among the buttons, from 0, and the value for
// a place (the first for one BASIC has no value for).
int defaultButtonIndex(qint32 buttonsValue);
qint32 defaultButtonValue(int index);

// Every bit that a group of the message box's buttons value occupies, or
// that one of its flags sets.
inline constexpr qint32 MsgBoxKnownBits =
    MsgBoxButtonSetMask | MsgBoxIconMask | MsgBoxDefaultButtonMask | MsgBoxModalityMask | vbMsgBoxHelpButton;

// The groups that share bits, each with the bits it occupies and what its
// values are called.
struct MsgBoxGroup
{
    qint32 mask;
    QStringView what; // "button sets"
};
inline constexpr std::array<MsgBoxGroup, 4> msgBoxGroups{{
    {MsgBoxButtonSetMask, u"button sets"},
    {MsgBoxIconMask, u"icons"},
    {MsgBoxDefaultButtonMask, u"default buttons"},
    {MsgBoxModalityMask, u"modalities"},
}};

} // namespace basic
