// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// What an editor shows while a tool's call is typed, and where in a call a
// place is: the tools' typing faces (Tool.h) give the first, for their calls.
struct Completion
{
    QString label;         // a name that may come next
    QString detail;        // its value: "= 4"
    QString documentation; // its meaning: "Yes and No"
    QString group;         // for the order: "1 buttons", "2 icon", …
};

struct CallSignature
{
    QString label; // Name(Parameter, [Parameter], …) As Type
    QString documentation;
    QStringList parameters; // each as the label writes it
    QStringList parameterDocs;
};

// A line above a call: what it does.
struct CallLens
{
    qsizetype call = 0; // the call's word
    QString title;
};

// The innermost call of one of the words whose arguments the place is in:
// the word (lower case), the argument's index, its `name:=` (lower case) and
// where it begins. Read from the logical line around the place alone.
struct OpenCall
{
    QString word;
    int argument = 0;
    QString named;
    qsizetype argumentBegin = 0;
};
// Where the line that holds the place starts.
qsizetype lineStartAt(QStringView text, qsizetype at);

std::optional<OpenCall> openCallAt(QStringView text, qsizetype offset, const QStringList &words);

// The parameter that the argument gives, by its name where it has one.
int activeParameter(const OpenCall &call, const CallSignature &signature);
