// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/Dialect.h"
#include "tools/TypingHelp.h"

#include <QStringView>

#include <optional>
#include <vector>

// Help while typing a message box: what may come next in its buttons
// argument (the dialect's sets, icons, default buttons and flags, none of a
// group already there) or after Case on its answer (its answers), its
// signature, and a lens over each box whose buttons are names and numbers.
// Read from the text around the place alone, so that it is quick on any
// module.
std::optional<std::vector<Completion>> msgBoxCompletions(QStringView text, qsizetype offset, basic::Dialect dialect);
std::optional<CallSignature> msgBoxSignature(basic::Dialect dialect);
std::vector<CallLens> msgBoxLenses(QStringView text, basic::Dialect dialect);
