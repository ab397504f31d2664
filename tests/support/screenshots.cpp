// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the main window with each tool current, and the About box, into
// PNG files for the user guide. Run it under a real display (scripts/screenshots
// uses Xvfb) so that the desktop's fonts and style are used.
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/StartUp.h"
#include "platform/InputBoxDialog.h"
#include "platform/QtMessageBox.h"
#include "tools/header/HeaderGenerator.h"
#include "tools/header/HeaderPreview.h"
#include "support/FakePlatform.h"
#include "tools/ToolPanel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

struct Shot
{
    QString image;   // the selector image to click
    QString file;    // the PNG's name
    int page;        // the page to show
    QList<std::pair<QString, QString>> texts;  // objectName, text
    QStringList checks;                        // objectNames to check or press
};

void setText(QWidget *widget, const QString &text)
{
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        edit->setText(text);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(widget))
        plain->setPlainText(text);
    else if (auto *rich = qobject_cast<QTextEdit *>(widget))
        rich->setPlainText(text);
    else if (auto *combo = qobject_cast<QComboBox *>(widget))
        combo->setCurrentText(text);
    else if (auto *list = qobject_cast<QListWidget *>(widget))
        list->addItems(text.split(u'|'));
}

bool save(QWidget *widget, const QString &path)
{
    QCoreApplication::processEvents();
    const bool ok = widget->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"docs/screenshots"_s;
    const bool allPages = argc > 2 && QByteArray(argv[2]) == "--all-pages";
    QDir().mkpath(allPages ? outDir + u"/pages"_s : outDir);

    FakePlatform platform;
    const auto window = startUp(platform, WindowOptions::withoutSplash());
    if (!QTest::qWaitForWindowExposed(window.get()))
        return 1;

    const QList<Shot> shots{
        {u"imgNotewright"_s, u"notewright.png"_s, 0,
         {{u"txtMessageMsgBox"_s, u"Save changes to \"Report\"?\nUnsaved work is lost."_s},
          {u"cboTitleMsgBox"_s, u"Confirm"_s}},
         {u"optQuestion"_s, u"optYesNoCancel_No"_s}},
        {u"imgAskwright"_s, u"askwright.png"_s, 0,
         {{u"txtTitleInputBox"_s, u"Name"_s}, {u"txtMessageInputBox"_s, u"Enter your name"_s}},
         {}},
        {u"imgTopwright"_s, u"topwright.png"_s, 0,
         {{u"txtProject"_s, u"Payroll"_s}, {u"txtProgram"_s, u"PAYCALC"_s}, {u"txtVersion"_s, u"1.2"_s},
          {u"txtDescription"_s, u"Monthly run"_s}},
         {}},
        {u"imgPickwright"_s, u"pickwright.png"_s, 0, {{u"lstFileTypesOpen"_s, u"txt|bas"_s}}, {}},
    };

    bool ok = true;
    for (const Shot &shot : shots) {
        QWidget *image = window->findChild<QWidget *>(shot.image);
        QTest::mouseClick(image, Qt::LeftButton, {}, image->rect().center());
        for (const auto &[name, text] : shot.texts) {
            if (QWidget *widget = window->findChild<QWidget *>(name))
                setText(widget, text);
        }
        for (const QString &name : shot.checks) {
            if (auto *button = window->findChild<QAbstractButton *>(name))
                button->setChecked(true);
        }
        ok &= save(window.get(), outDir + u'/' + shot.file);
        // Every page of the tool too, for a closer look after a change.
        if (allPages) {
            auto *tabs = window->currentTool();
            for (int page = 1; page < tabs->count(); ++page) {
                tabs->setCurrentIndex(page);
                ok &= save(window.get(), outDir + u"/pages/"_s + QString(shot.file).replace(u".png"_s, u"-%1.png"_s.arg(page)));
            }
            tabs->setCurrentIndex(0);
        }
    }

    // The code view beside the message box designed above.
    {
        QWidget *image = window->findChild<QWidget *>(u"imgNotewright"_s);
        QTest::mouseClick(image, Qt::LeftButton, {}, image->rect().center());
        window->setCodeViewShown(true);
        QTest::qWait(200);
        ok &= save(window.get(), outDir + u"/codeview.png"_s);
        window->setCodeViewShown(false);
        QTest::qWait(100);
    }

    // The live dialogs, for a closer look after a change.
    if (allPages) {
        BasicMessageBox box(platform, u"Save changes to \"Report\"?\r\nUnsaved work is lost."_s, 3 + 32 + 256,
                            u"Confirm"_s, HelpTopic{u"myapp.hlp"_s, 0});
        box.show();
        ok &= save(&box, outDir + u"/pages/live-msgbox.png"_s);
        InputBoxDialog input(u"Enter your name\r\nas it appears on the form"_s, u"Name"_s, u"Jane"_s, true);
        input.show();
        ok &= save(&input, outDir + u"/pages/live-inputbox.png"_s);
        HeaderPreview preview(window.get());
        HeaderFields fields;
        fields.project = u"Payroll"_s;
        preview.setText(header::generateHeaderBlock(fields));
        preview.show();
        ok &= save(&preview, outDir + u"/pages/live-header.png"_s);
    }

    auto *about = new AboutBox(platform);
    about->show();
    if (!QTest::qWaitForWindowExposed(about))
        return 1;
    ok &= save(about, outDir + u"/about.png"_s);
    delete about;
    return ok ? 0 : 1;
}
