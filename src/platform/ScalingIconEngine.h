// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIconEngine>

// An icon engine whose scaledPixmap() is reached on Qt 6.4 too: there QIcon
// asks for device-pixel-ratio pixmaps through virtual_hook, not the virtual.
class ScalingIconEngine : public QIconEngine
{
protected:
    void virtual_hook(int id, void *data) override
    {
        if (id == ScaledPixmapHook) {
            auto *argument = static_cast<ScaledPixmapArgument *>(data);
            argument->pixmap = scaledPixmap(argument->size, argument->mode, argument->state, argument->scale);
            return;
        }
        QIconEngine::virtual_hook(id, data);
    }
};
