// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// `frmSplash`: the product picture and "Version 98", shown while starting.
class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SplashWindow(QWidget *parent = nullptr);

    // Shows the window and paints it at once, before the caller blocks.
    void showPainted();
};
