// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

QTranslator *installQtTranslations(QCoreApplication &application)
{
    // Owned by the application, so that it lasts as long as the texts it gives.
    auto *translator = new QTranslator(&application);
    if (!translator->load(QLocale(), u"qtbase"_s, u"_"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}
