// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/HelpFields.h"

#include <QString>

// What the input-box tool's fields hold. The initial values are the panel's
// start-up state, which the command line starts from too.
struct InputBoxFields
{
    QString title;
    // The prompt, its line breaks as CR LF.
    QString message;
    QString defaultAnswer;
    HelpFields help;
    QString variableName = QStringLiteral("Response");
    bool declareVariable = false;

    friend bool operator==(const InputBoxFields &, const InputBoxFields &) = default;

    // What New puts back: the start-up state, but with the variable name
    // and the help topic empty.
    static InputBoxFields afterNew()
    {
        InputBoxFields fields;
        fields.variableName.clear();
        fields.help.topicId.clear();
        return fields;
    }
};
