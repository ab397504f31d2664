// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/EditorLink.h"

#include "app/MainWindow.h"
#include "basic/Dialect.h"
#include "tools/ToolModel.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QPointer>
#include <QSocketNotifier>

#include <cstdio>

#if defined(Q_OS_WIN)
#include <thread>

#include <windows.h>
#else
#include <cerrno>

#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

constexpr char LinkVariable[] = "QUILLKIT98_EDITOR_LINK";

} // namespace

EditorLink *EditorLink::attach(MainWindow *window)
{
    if (qgetenv(LinkVariable) != "1")
        return nullptr;
    // Not for the programs the window starts in turn.
    qunsetenv(LinkVariable);
    return new EditorLink(window);
}

EditorLink::EditorLink(MainWindow *window) : QObject(window), m_window(window)
{
#if defined(Q_OS_WIN)
    // A pipe cannot be waited on with the event loop: a thread reads, and
    // hands each block to the loop.
    std::thread([link = QPointer<EditorLink>(this)] {
        const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
        for (;;) {
            char buffer[1 << 16];
            DWORD count = 0;
            const bool ok = ReadFile(input, buffer, sizeof buffer, &count, nullptr) && count > 0;
            QByteArray block = ok ? QByteArray(buffer, count) : QByteArray();
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [link, block] {
                    if (link)
                        link->receive(block);
                },
                Qt::QueuedConnection);
            if (!ok)
                return;
        }
    }).detach();
#else
    auto *notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this, notifier] {
        char buffer[1 << 16];
        const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count < 0 && (errno == EINTR || errno == EAGAIN))
            return;
        if (count <= 0)
            notifier->setEnabled(false);
        receive(count > 0 ? QByteArray(buffer, count) : QByteArray());
    });
#endif
}

void EditorLink::receive(const QByteArray &bytes)
{
    if (bytes.isEmpty()) {
        // The server has gone: the window goes on as a window of its own.
        m_window->setEditorLabel(QString());
        return;
    }
    m_buffer += bytes;
    for (qsizetype end = m_buffer.indexOf('\n'); end >= 0; end = m_buffer.indexOf('\n')) {
        const QJsonObject request = QJsonDocument::fromJson(m_buffer.first(end)).object();
        m_buffer.remove(0, end + 1);
        if (!request.isEmpty())
            handle(request);
    }
}

void EditorLink::handle(const QJsonObject &request)
{
    const QString method = request.value(u"method"_s).toString();
    // The module's BASIC, with names: the numbers are what the editor just
    // warned about.
    codegen::CodeOptions options = m_window->codeOptions();
    options.dialect = basic::dialectFromName(request.value(u"dialect"_s).toString()).value_or(options.dialect);
    options.constants = codegen::CodeOptions::Constants::Names;
    if (method == u"edit"_s || method == u"insert"_s || method == u"test"_s) {
        m_window->readCode(request.value(u"code"_s).toString());
        m_window->setCodeOptions(options);
    } else {
        return;
    }
    // A box tried out goes back nowhere: the bar says so until an edit.
    m_window->setEditorLabel(request.value(u"label"_s).toString(), method == u"test"_s);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    send({{u"method"_s, u"ready"_s}});
    if (method == u"test"_s)
        m_window->testCode();
}

void EditorLink::apply()
{
    const ToolModel *model = m_window->currentModel();
    if (!model)
        return;
    send({{u"method"_s, u"apply"_s}, {u"tool"_s, model->tool().cli.name}, {u"code"_s, m_window->currentCode()}});
    m_window->close();
}

void EditorLink::send(const QJsonObject &message)
{
    const QByteArray line = QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(line.constData(), 1, std::size_t(line.size()), stdout);
    std::fflush(stdout);
}
