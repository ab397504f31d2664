// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/CommonDialog.h"

#include <memory>

class QWidget;

// Windows' own Open, Save, Font, Color and Print dialogs, as a Visual Basic
// program shows them, with the registry put back as it was after each.
std::unique_ptr<CommonDialog> createWindowsCommonDialog(QWidget *owner);
