#include "support/GuiTest.h"

#include "app/StartUp.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

using namespace Qt::StringLiterals;

GuiHarness::GuiHarness()
{
    window = startUp(platform, /*showSplash=*/false);
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
