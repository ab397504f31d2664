// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reader/CodeReader.h"

#include <QJsonObject>

// The object `read` prints: "tool", and one member per option of
// `generate TOOL`, named as the option. Members that the found code has no
// say in (another page's, the help file without help) are null.
QJsonObject readResultJson(const ReadResult &result);
