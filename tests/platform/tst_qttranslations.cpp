// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InputBoxDialog.h"
#include "platform/QtMessageBox.h"
#include "platform/QtTranslations.h"
#include "support/FakePlatform.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

QStringList captions(const BasicMessageBox &box)
{
    QStringList texts;
    for (const QPushButton *button : box.answerButtons())
        texts << button->text();
    if (box.helpButton())
        texts << box.helpButton()->text();
    return texts;
}

} // namespace

// The live boxes under a German desktop: the default locale stands for the
// user's, so the test needs no system locale, only Qt's translations.
class TestQtTranslations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void messageBoxButtonsReadAsTheDesktops_data();
    void messageBoxButtonsReadAsTheDesktops();
    void inputBoxButtonsReadAsTheDesktops();
    void englishKeepsTheBoxesOwnCaptions();

private:
    // Installs Qt's translations for this locale, or skips the test.
    bool useLocale(const QLocale &locale);
    QTranslator *m_translator = nullptr;
};

bool TestQtTranslations::useLocale(const QLocale &locale)
{
    QLocale::setDefault(locale);
    m_translator = installQtTranslations(*qApp);
    return m_translator != nullptr;
}

void TestQtTranslations::cleanup()
{
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator);
        delete m_translator;
        m_translator = nullptr;
    }
    QLocale::setDefault(QLocale::c());
}

void TestQtTranslations::messageBoxButtonsReadAsTheDesktops_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("OK") << 0 << QStringList{u"OK"_s};
    QTest::newRow("OK, Cancel") << 1 << QStringList{u"OK"_s, u"Abbrechen"_s};
    QTest::newRow("Abort, Retry, Ignore") << 2 << QStringList{u"Abbrechen"_s, u"Wiederholen"_s, u"Ignorieren"_s};
    QTest::newRow("Yes, No, Cancel") << 3 << QStringList{u"&Ja"_s, u"&Nein"_s, u"Abbrechen"_s};
    QTest::newRow("Yes, No with Help") << 4 + 16384 << QStringList{u"&Ja"_s, u"&Nein"_s, u"Hilfe"_s};
}

void TestQtTranslations::messageBoxButtonsReadAsTheDesktops()
{
    QFETCH(int, buttons);
    QFETCH(QStringList, expected);
    if (!useLocale(QLocale(QLocale::German, QLocale::Germany)))
        QSKIP("Qt's German translations are missing (Debian's qt6-translations-l10n)");
    FakePlatform platform;
    // The program's own title and the typed prompt stay as they are.
    const BasicMessageBox box(platform, u"Save?"_s, buttons, u"Report"_s, HelpTopic{u"a.hlp"_s, 1});
    QCOMPARE(captions(box), expected);
    QCOMPARE(box.windowTitle(), u"Report"_s);
}

void TestQtTranslations::inputBoxButtonsReadAsTheDesktops()
{
    if (!useLocale(QLocale(QLocale::German, QLocale::Germany)))
        QSKIP("Qt's German translations are missing (Debian's qt6-translations-l10n)");
    const InputBoxDialog dialog(u"Name?"_s, u"Title"_s, QString(), true, nullptr);
    QDialogButtonBox *buttons = dialog.buttonBox();
    QCOMPARE(buttons->button(QDialogButtonBox::Ok)->text(), u"OK"_s);
    QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), u"Abbrechen"_s);
    QCOMPARE(buttons->button(QDialogButtonBox::Help)->text(), u"Hilfe"_s);
}

void TestQtTranslations::englishKeepsTheBoxesOwnCaptions()
{
    // English needs no translation: the boxes keep their access keys.
    QVERIFY(!useLocale(QLocale(QLocale::English, QLocale::UnitedStates)));
    FakePlatform platform;
    const BasicMessageBox box(platform, u"Go?"_s, 2, u"T"_s, std::nullopt);
    QCOMPARE(captions(box), (QStringList{u"&Abort"_s, u"&Retry"_s, u"&Ignore"_s}));
}

QTEST_MAIN(TestQtTranslations)
#include "tst_qttranslations.moc"
