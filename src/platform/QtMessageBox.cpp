#include "platform/QtPlatform.h"

#include <QApplication>
#include <QMessageBox>

int QtPlatform::msgBox(const QString &prompt, int /*buttons*/, const QString &title,
                       const std::optional<HelpTopic> & /*help*/)
{
    QMessageBox box(QMessageBox::NoIcon, title, prompt, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
    return vbOK;
}
