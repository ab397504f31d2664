#include "platform/QtPlatform.h"

#include <QApplication>
#include <QInputDialog>

QString QtPlatform::inputBox(const QString &prompt, const QString &title, const QString &defaultText,
                             const std::optional<HelpTopic> & /*help*/)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(QApplication::activeWindow(), title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}
