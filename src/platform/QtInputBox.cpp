// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InputBoxDialog.h"
#include "platform/QtPlatform.h"

#include <QApplication>

QString QtPlatform::inputBox(const QString &prompt, const QString &title, const QString &defaultText,
                             const std::optional<HelpTopic> &help)
{
    return runInputBox(*this, QApplication::activeWindow(), prompt, title, defaultText, help);
}
