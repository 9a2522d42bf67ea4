// SPDX-License-Identifier: GPL-3.0-or-later
// The window's status bar: one text panel, and while long work runs, its progress and a Cancel
// button (Esc does the same).
#pragma once

#include <QStatusBar>

#include <cstdint>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QShortcut;

class StatusBar : public QStatusBar {
    Q_OBJECT

public:
    explicit StatusBar(const QString& text, QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);

    // Shows text and a progress bar until EndWork; with cancel, also a Cancel button and Esc that
    // call it. The panel's text is remembered for EndWork.
    void BeginWork(const QString& text, std::function<void()> cancel = {});
    void ShowProgress(std::int64_t done, std::int64_t total);
    void HideProgress();
    // Hides the progress and the Cancel button; the panel shows outcome, or when that is empty,
    // the text it had before BeginWork.
    void EndWork(const QString& outcome = {});

private:
    QLabel* panel_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    QShortcut* escape_;
    std::function<void()> cancelWork_;
    QString before_;
};
