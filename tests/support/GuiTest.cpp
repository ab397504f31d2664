// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/GuiTest.h"

#include "app/StartUp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>

using namespace Qt::StringLiterals;

GuiHarness::GuiHarness()
{
    window = startUp(platform, WindowOptions::withoutSplash());
    window->activateWindow();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("main window was not exposed");
}

GuiHarness::~GuiHarness() = default;

void GuiHarness::click(const QString &objectName) const
{
    QWidget *widget = find(objectName);
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

void GuiHarness::selectTool(const QString &imageName) const
{
    click(imageName);
}

QString GuiHarness::copy()
{
    click(u"cmdCopy"_s);
    return platform.clipboard;
}

void GuiHarness::type(const QString &objectName, const QString &text) const
{
    QWidget *widget = find(objectName);
    if (auto *combo = qobject_cast<QComboBox *>(widget); combo && combo->isEditable())
        widget = combo->lineEdit();
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(widget, Qt::Key_Delete);
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(widget, Qt::Key_Return);
        QTest::keyClicks(widget, lines.at(i));
    }
}

void GuiHarness::whileModal(const QString &button, const std::function<void(QWidget *modal)> &whileShown) const
{
    bool shown = false;
    bool guarded = false;
    QTimer checks;
    checks.setSingleShot(true);
    QObject::connect(&checks, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            checks.start(10);
            return;
        }
        shown = true;
        whileShown(modal);
        if (QTest::currentTestFailed() && modal->isVisible())
            modal->close();
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        guarded = true;
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    checks.start(0);
    guard.start(20000);
    click(button);
    QVERIFY2(shown, "the modal window never showed");
    QVERIFY2(!guarded, "the modal window stayed open");
}

bool GuiHarness::endsTheProgram(const std::function<void()> &action)
{
    bool timedOut = false;
    QTimer::singleShot(0, qApp, action);
    QTimer::singleShot(5000, qApp, [&] {
        timedOut = true;
        QApplication::exit(1);
    });
    return QApplication::exec() == 0 && !timedOut;
}
