// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QComboBox;
class QPlainTextEdit;
class QPushButton;

// `frmTest`: shows the header block in a small window made to look like a
// code-editor window, so the user sees it as it will head a source file.
// Closing it in any way unloads it (the window deletes itself).
class HeaderPreview : public QDialog
{
    Q_OBJECT

public:
    explicit HeaderPreview(QWidget *parent = nullptr);

    void setText(const QString &block);

private:
    void closePreview();

    QComboBox *m_combo1;
    QComboBox *m_combo2;
    QPlainTextEdit *m_txtTest;
    QPushButton *m_cmdClose;
};
