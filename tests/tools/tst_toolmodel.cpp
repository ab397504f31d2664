// SPDX-License-Identifier: GPL-3.0-or-later
// A tool's model generates the code once for each change of its fields or
// code options and reports codeChanged() once, with the new text, and only
// when the text has changed.
#include "app/Tools.h"
#include "support/GuiTest.h"
#include "tools/ToolModel.h"
#include "tools/ToolPanel.h"
#include "tools/header/HeaderFields.h"
#include "tools/msgbox/MsgBoxFields.h"

#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {

// The calls of the tools' generators made through a counting copy of a tool.
int generations = 0;
QString (*realGenerate)(const std::any &, const codegen::CodeOptions &) = nullptr;

QString countedGenerate(const std::any &fields, const codegen::CodeOptions &options)
{
    ++generations;
    return realGenerate(fields, options);
}

Tool counted(const Tool &tool)
{
    realGenerate = tool.generate;
    Tool copy = tool;
    copy.generate = countedGenerate;
    return copy;
}

// A second model that the panel's edits reach as they reach the window's.
void listen(ToolPanel *panel, ToolModel &model)
{
    model.setFields(model.tool().panelFields(panel));
    QObject::connect(panel, &ToolPanel::fieldsChanged, &model,
                     [panel, &model] { model.setFields(model.tool().panelFields(panel)); });
}

struct Step
{
    const char *what;
    std::function<void()> act;
    int generations;
    int reports;
};

codegen::CodeOptions names()
{
    codegen::CodeOptions options;
    options.constants = codegen::CodeOptions::Constants::Names;
    return options;
}

} // namespace

class TestToolModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneEditGeneratesOnceAndReportsOnce();
    void codeOptionsGenerateOnceAndReportOnlyAChange();
    void noFieldsYetNothingGenerated();
    void copyInTheKeysTurnCopiesTheKey();
};

void TestToolModel::oneEditGeneratesOnceAndReportsOnce()
{
    GuiHarness gui;
    ToolPanel *panel = gui.window->currentTool();
    ToolModel model(counted(tools().at(0)));
    generations = 0;
    listen(panel, model);
    QCOMPARE(generations, 1);
    QCOMPARE(model.code(), gui.window->currentModel()->code());
    QSignalSpy reports(&model, &ToolModel::codeChanged);
    QSignalSpy windowReports(gui.window->currentModel(), &ToolModel::codeChanged);

    QWidget *message = gui.find(u"txtMessageMsgBox"_s);
    const QList<Step> steps{
        {"one keystroke", [&] { QTest::keyClick(message, Qt::Key_A); }, 1, 1},
        {"a burst of keys", [&] { QTest::keyClicks(message, u"Hello"_s); }, 1, 1},
        {"a key and its undoing", [&] {
             QTest::keyClick(message, Qt::Key_X);
             QTest::keyClick(message, Qt::Key_Backspace);
         }, 0, 0},
        {"another page", [&] { panel->setCurrentIndex(1); }, 0, 0},
        {"an icon", [&] { gui.click(u"optQuestion"_s); }, 1, 1},
        {"the same icon again", [&] { gui.click(u"optQuestion"_s); }, 0, 0},
        {"the same fields set", [&] { tools().at(0).setPanelFields(panel, model.fields()); }, 0, 0},
        {"New", [&] { gui.click(u"cmdNew"_s); }, 1, 1},
    };
    for (const Step &step : steps) {
        generations = 0;
        reports.clear();
        windowReports.clear();
        step.act();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        const QString what = QLatin1StringView(step.what);
        QVERIFY2(generations == step.generations, qPrintable(u"%1: %2 generations"_s.arg(what).arg(generations)));
        QVERIFY2(reports.size() == step.reports, qPrintable(u"%1: %2 reports"_s.arg(what).arg(reports.size())));
        QCOMPARE(windowReports.size(), step.reports);
        // The report carries the text, which is what the window's model holds.
        const QString code = gui.window->currentModel()->code();
        QCOMPARE(model.code(), code);
        if (!reports.isEmpty())
            QCOMPARE(reports.constFirst().constFirst().toString(), code);
    }
}

void TestToolModel::codeOptionsGenerateOnceAndReportOnlyAChange()
{
    MsgBoxFields box;
    box.style.buttonSet = vbYesNo; // constants in the call and in the cases
    struct OptionStep
    {
        const char *what;
        int tool;
        std::any fields;
        codegen::CodeOptions options;
        int generations;
        int reports;
    };
    const QList<OptionStep> steps{
        {"names for a message box", 0, box, names(), 1, 1},
        // The header has no constants: generated, but the text is the same.
        {"names for a header", 2, HeaderFields{u"p"_s, {}, {}, {}, {}, {}}, names(), 1, 0},
        {"the options it has", 0, box, {}, 0, 0},
    };
    for (const OptionStep &step : steps) {
        ToolModel model(counted(tools().at(step.tool)));
        model.setFields(step.fields);
        QSignalSpy reports(&model, &ToolModel::codeChanged);
        const QString before = model.code();
        generations = 0;
        model.setCodeOptions(step.options);
        const QString what = QLatin1StringView(step.what);
        QVERIFY2(generations == step.generations, qPrintable(u"%1: %2 generations"_s.arg(what).arg(generations)));
        QVERIFY2(reports.size() == step.reports, qPrintable(u"%1: %2 reports"_s.arg(what).arg(reports.size())));
        QCOMPARE(model.code(), realGenerate(step.fields, step.options));
        QCOMPARE(model.code() != before, step.reports == 1);
    }
}

void TestToolModel::noFieldsYetNothingGenerated()
{
    // Options chosen before a panel has reported must not generate from no
    // fields at all.
    ToolModel model(counted(tools().at(0)));
    generations = 0;
    QSignalSpy reports(&model, &ToolModel::codeChanged);
    model.setCodeOptions(names());
    QCOMPARE(generations, 0);
    QVERIFY(reports.isEmpty());
    QVERIFY(model.code().isEmpty());
    // The fields, when they come, are written with the options chosen.
    MsgBoxFields box;
    box.style.buttonSet = vbYesNo;
    model.setFields(box);
    QCOMPARE(generations, 1);
    QCOMPARE(model.code(), realGenerate(box, names()));
}

void TestToolModel::copyInTheKeysTurnCopiesTheKey()
{
    GuiHarness gui;
    ToolModel model(counted(tools().at(0)));
    listen(gui.window->currentTool(), model);
    QTest::keyClick(gui.find(u"txtMessageMsgBox"_s), Qt::Key_Q);
    generations = 0;
    // No turn of the event loop between the key and Copy.
    gui.window->copyCode();
    const QString copied = gui.platform.clipboard;
    QVERIFY(copied.contains(u"Msgbox \"q\""_s));
    QCOMPARE(copied, model.code());
    QCOMPARE(generations, 1);
    // The report still queued then finds nothing new.
    QCoreApplication::processEvents();
    QCOMPARE(generations, 1);
}

QTEST_MAIN(TestToolModel)
#include "tst_toolmodel.moc"
