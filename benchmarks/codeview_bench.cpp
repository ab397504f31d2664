// SPDX-License-Identifier: GPL-3.0-or-later
// One keystroke with the code view shown: the message box's code made again
// and shown in the view, coloured and laid out for painting. Google
// Benchmark, on Qt's offscreen platform.
#include "app/CodeView.h"
#include "tools/msgbox/MsgBoxGenerator.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

// Prose of CR LF lines of some sixty characters, a quoted word now and then.
QString message(qsizetype size)
{
    const QString line = QStringLiteral("Your changes to \"Report\" are not saved yet; save them now?\r\n");
    QString text;
    while (text.size() < size)
        text += line;
    text.truncate(size);
    return text;
}

void BM_Keystroke(benchmark::State &state)
{
    CodeView view;
    view.resize(560, 420);
    view.show();
    MsgBoxFields fields;
    fields.message = message(state.range(0));
    fields.title = QStringLiteral("Confirm");
    fields.style.buttonSet = vbYesNoCancel;
    for (auto _ : state) {
        // A key typed at the end of the message.
        fields.message += u'x';
        view.showCode(generateMsgBoxCode(fields));
        view.viewport()->repaint();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Keystroke)->Arg(100)->Arg(64 << 10)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
