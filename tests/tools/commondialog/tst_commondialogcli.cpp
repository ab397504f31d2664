// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "support/GenerateRun.h"
#include "tools/commondialog/CommonDialogGenerator.h"

#include <QBuffer>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

GenerateRun generate(const QStringList &options, const QByteArray &input = {})
{
    return runGenerate(u"commondialog"_s, options, input);
}

} // namespace

class TestCommonDialogCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void optionsSetFields_data();
    void optionsSetFields();
    void badOptions_data();
    void badOptions();
};

void TestCommonDialogCli::optionsSetFields_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<CommonDialogFields>("fields");

    QTest::newRow("start-up values") << QStringList{} << CommonDialogFields{};

    CommonDialogFields open;
    open.openTitle = u"Pick \"one\""_s;
    open.openFileTypes = {u"txt"_s, u"BAS"_s, u"txt"_s};
    QTest::newRow("open, types in order as typed, blanks around dropped")
        << QStringList{u"--title"_s,     u"Pick \"one\""_s, u"--file-type"_s, u"txt"_s,
                       u"--file-type"_s, u" BAS"_s,         u"--file-type"_s, u"txt"_s}
        << open;

    CommonDialogFields save;
    save.page = DialogKind::Save;
    save.saveTitle.clear();
    save.saveDefaultExtension = u"bas"_s;
    save.saveFileTypes = {u"bas"_s};
    QTest::newRow("save") << QStringList{u"--dialog"_s,      u"save"_s, u"--title"_s,     QString(),
                                         u"--default-ext"_s, u"bas"_s,  u"--file-type"_s, u"bas"_s}
                          << save;

    CommonDialogFields font;
    font.page = DialogKind::Font;
    font.fonts = FontsToDisplay::PrinterOnly;
    QTest::newRow("font") << QStringList{u"--dialog"_s, u"font"_s, u"--fonts"_s, u"printer"_s} << font;

    CommonDialogFields color;
    color.page = DialogKind::Color;
    color.customColors = false;
    QTest::newRow("color") << QStringList{u"--dialog"_s, u"color"_s, u"--no-custom-colors"_s} << color;

    CommonDialogFields printer;
    printer.page = DialogKind::Printer;
    printer.printToFile = false;
    QTest::newRow("printer") << QStringList{u"--dialog"_s, u"printer"_s, u"--no-print-to-file"_s} << printer;
}

void TestCommonDialogCli::optionsSetFields()
{
    QFETCH(QStringList, options);
    QFETCH(CommonDialogFields, fields);
    const GenerateRun run = generate(options);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, generateCommonDialogCode(fields));
}

void TestCommonDialogCli::badOptions_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("named");

    // Without --dialog the complaint names the --dialog that each option needs.
    QTest::newRow("fonts, no dialog") << QStringList{u"--fonts"_s, u"screen"_s}
                                      << QStringList{u"--fonts needs --dialog font"_s, u"default"_s};
    QTest::newRow("default-ext, no dialog") << QStringList{u"--default-ext"_s, u"txt"_s}
                                            << QStringList{u"--default-ext needs --dialog save"_s};
    QTest::newRow("two options, no dialog")
        << QStringList{u"--no-print-to-file"_s, u"--no-custom-colors"_s}
        << QStringList{u"--no-custom-colors needs --dialog color"_s, u"--no-print-to-file needs --dialog printer"_s};
    QTest::newRow("fonts on open") << QStringList{u"--dialog"_s, u"open"_s, u"--fonts"_s, u"screen"_s}
                                   << QStringList{u"--fonts"_s, u"--dialog open"_s};
    QTest::newRow("default-ext on open") << QStringList{u"--dialog"_s, u"open"_s, u"--default-ext"_s, u"txt"_s}
                                         << QStringList{u"--default-ext"_s};
    QTest::newRow("title from a file on color")
        << QStringList{u"--dialog"_s, u"color"_s, u"--title-file"_s, u"-"_s} << QStringList{u"--title-file"_s};
    QTest::newRow("two foreign options on save")
        << QStringList{u"--dialog"_s, u"save"_s, u"--no-custom-colors"_s, u"--no-print-to-file"_s}
        << QStringList{u"--no-custom-colors"_s, u"--no-print-to-file"_s};
    QTest::newRow("file-type on printer") << QStringList{u"--dialog"_s, u"printer"_s, u"--file-type"_s, u"txt"_s}
                                          << QStringList{u"--file-type"_s};
    QTest::newRow("unknown dialog") << QStringList{u"--dialog"_s, u"folder"_s} << QStringList{u"folder"_s};
    QTest::newRow("empty file type") << QStringList{u"--file-type"_s, u"txt"_s, u"--file-type"_s, QString()}
                                     << QStringList{u"--file-type"_s};
    QTest::newRow("file type with a line break")
        << QStringList{u"--dialog"_s, u"save"_s, u"--file-type"_s, u"t\nxt"_s} << QStringList{u"--file-type"_s};
}

void TestCommonDialogCli::badOptions()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, named);
    const GenerateRun run = generate(options);
    QCOMPARE(run.status, 2);
    QCOMPARE(run.out, QString());
    const QString message = usageMessage(run, u"commondialog"_s);
    QVERIFY2(!message.isEmpty(), qPrintable(run.err));
    for (const QString &name : named)
        QVERIFY2(message.contains(name), qPrintable(run.err));
    if (!options.contains(u"--dialog"_s))
        QVERIFY2(!run.err.contains(u"--dialog open"_s), qPrintable(run.err));
}

QTEST_APPLESS_MAIN(TestCommonDialogCli)
#include "tst_commondialogcli.moc"
