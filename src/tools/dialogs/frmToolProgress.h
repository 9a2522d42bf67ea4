// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog that stands over a window while one of its tools runs: the item at hand, how many of
// how many are done, and Cancel. Esc and closing the dialog mean Cancel too; it then waits,
// disabled, for the tool to stop, so what the tool committed is complete when it goes away.
#pragma once

#include <QDialog>

#include <functional>
#include <string>

#include "tools/dialogs/ToolRunner.h"

class QLabel;
class QProgressBar;
class QPushButton;

class frmToolProgress : public QDialog {
    Q_OBJECT

public:
    using Then = std::function<void(const ToolResult& result, const QString& logPath)>;

    explicit frmToolProgress(QWidget* parent);

    // Shows the dialog over its parent, runs job over its own connection to the catalogue file and,
    // once it has ended and the dialog is gone, calls then. withSets: see ToolRunner::Start.
    void Run(const QString& title, const std::string& cataloguePath, ToolJob job, Then then, bool withSets = true);
    bool IsRunning() const { return runner_.IsRunning(); }
    void Cancel();

Q_SIGNALS:
    void RunningChanged(bool running);
    void StatusChanged(const QString& status);

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowProgress(qint64 done, qint64 total, const QString& current);
    void Ended(const ToolResult& result, const QString& logPath);

    ToolRunner runner_;
    Then then_;
    QLabel* item_;
    QProgressBar* bar_;
    QPushButton* cancel_;
};
