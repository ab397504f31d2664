// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QObject>

class MainWindow;

// The window as an editor's composer. The language server that started the
// program sends what to edit on standard input, a line of JSON each ("edit"
// with the code to read, "insert" with a tool, "test" with a call to try);
// Apply to Editor sends the shown tool's code back on standard output, where
// the server puts it into the editor's text, and the window closes. While
// the server is there the window shows that it edits the editor's code.
class EditorLink : public QObject
{
    Q_OBJECT

public:
    // The link where the server started the program for it; else null.
    static EditorLink *attach(MainWindow *window);

    // Sends the shown tool's code to the editor and closes the window.
    void apply();

private:
    EditorLink(MainWindow *window);
    void receive(const QByteArray &bytes);
    void handle(const QJsonObject &request);
    void send(const QJsonObject &message);

    MainWindow *m_window;
    QByteArray m_buffer;
};
