// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTextEdit>

class QLabel;

// Room left for a window's title bar and frame when a box is fitted to the
// screen's available area.
inline constexpr int WindowFrameAllowance = 48;

// The prompt of a live box (message box, input box). It shows the text as
// typed, selectable, wrapped at word boundaries and anywhere inside a word
// wider than the box, and scrolls inside itself when it is taller than the
// room the screen leaves. A prompt longer than ShownLimit characters is cut
// there: the box shows its start and says so (cutNote), rather than laying
// out megabytes that nobody can read in a box.
class PromptView : public QTextEdit
{
    Q_OBJECT

public:
    static constexpr qsizetype ShownLimit = 20'000;

    explicit PromptView(const QString &prompt, QWidget *parent = nullptr);

    // The text shown, without the cut part.
    QString text() const { return toPlainText(); }
    bool isCut() const { return m_fullLength > ShownLimit; }
    // The line under the prompt that says how much is not shown; null when
    // nothing is cut. Created on first call, as a child of `parent`.
    QLabel *cutNote(QWidget *parent);
    // The line under the prompt that says that BASIC's own boxes show less
    // of it than this one; null when they show it all. Created on first
    // call, as a child of `parent`.
    QLabel *lengthNote(QWidget *parent);

    // Sizes the view: as wide as its longest line, between `minWidth` and
    // `maxWidth`, and as tall as the wrapped text up to `maxHeight`, beyond
    // which it scrolls.
    void fitWithin(int minWidth, int maxWidth, int maxHeight);
    // The height the wrapped text needs at the current width.
    int contentHeight() const;

    QSize sizeHint() const override { return m_hint; }
    QSize minimumSizeHint() const override { return m_hint; }

private:
    qsizetype m_fullLength;
    QString m_lengthNote;
    QSize m_hint;
    QLabel *m_cutNote = nullptr;
    QLabel *m_lengthNoteLabel = nullptr;
};
