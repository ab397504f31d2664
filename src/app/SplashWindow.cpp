// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SplashWindow.h"

#include "app/Pictures.h"
#include "platform/WindowPlacement.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

using namespace Qt::StringLiterals;

SplashWindow::SplashWindow(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(u"frmSplash"_s);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(u"#frmSplash { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #1f4e8c, stop:1 #0f2a52);"
                  " border: 1px solid #081a33; } QLabel { color: white; }"_s);

    auto *picture = new QLabel(this);
    picture->setObjectName(u"imgSplash"_s);
    picture->setPixmap(pictureIcon(u":/images/quillkit98.svg"_s).pixmap(QSize(128, 128), devicePixelRatioF()));
    picture->setAlignment(Qt::AlignCenter);

    auto *name = new QLabel(u"Quillkit 98"_s, this);
    name->setObjectName(u"lblProductName"_s);
    QFont nameFont(u"Times New Roman"_s, 26, QFont::Bold);
    nameFont.setItalic(true);
    name->setFont(nameFont);
    name->setAlignment(Qt::AlignCenter);

    auto *version = new QLabel(tr("Version 98"), this);
    version->setObjectName(u"lblVersion"_s);
    version->setAlignment(Qt::AlignCenter);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(96, 32, 96, 28);
    layout->setSpacing(8);
    layout->addWidget(picture);
    layout->addWidget(name);
    layout->addWidget(version);
}

void SplashWindow::showPainted()
{
    adjustSize();
    centerOnScreen(this);
    show();
    // The window must be mapped before it can paint; wait briefly for that,
    // since the caller then blocks the event loop.
    QElapsedTimer waited;
    waited.start();
    while (windowHandle() && !windowHandle()->isExposed() && waited.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
