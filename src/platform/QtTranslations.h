// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;
class QTranslator;

// Loads Qt's own translations (Debian's qt6-translations-l10n) for the
// default locale, so that standard buttons and dialogs read as the desktop's
// do. The program's own captions and the code it writes are not translated.
// Returns the installed translator, owned by the application; null when there
// is no translation for that language (English needs none).
QTranslator *installQtTranslations(QCoreApplication &application);
