// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/StatusBar.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>

#include <algorithm>

StatusBar::StatusBar(const QString& text, QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("barStatus"));
    panel_ = new QLabel(text);
    panel_->setObjectName(QStringLiteral("barStatusPanel"));
    addWidget(panel_, 1);
    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("barProgress"));
    progress_->setMaximumWidth(220);
    progress_->hide();
    addPermanentWidget(progress_);
    cancel_ = new QPushButton(tr("Cancel"));
    cancel_->setObjectName(QStringLiteral("cmdStatusCancel"));
    cancel_->hide();
    addPermanentWidget(cancel_);
    escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape_->setContext(Qt::WindowShortcut);
    escape_->setEnabled(false);
    const auto cancel = [this] {
        if (cancelWork_) cancelWork_();
    };
    connect(cancel_, &QPushButton::clicked, this, cancel);
    connect(escape_, &QShortcut::activated, this, cancel);
}

QString StatusBar::Text() const { return panel_->text(); }

void StatusBar::SetText(const QString& text) { panel_->setText(text); }

void StatusBar::BeginWork(const QString& text, std::function<void()> cancel) {
    before_ = panel_->text();
    panel_->setText(text);
    progress_->setRange(0, 0);  // busy until the first figures arrive
    progress_->show();
    cancelWork_ = std::move(cancel);
    cancel_->setVisible(bool(cancelWork_));
    escape_->setEnabled(bool(cancelWork_));
}

void StatusBar::ShowProgress(std::int64_t done, std::int64_t total) {
    // Per mille, so that sizes beyond what an int holds still fit the bar.
    progress_->setRange(0, 1000);
    progress_->setValue(total > 0 ? static_cast<int>(std::min<std::int64_t>(done, total) * 1000 / total) : 0);
    progress_->show();
}

void StatusBar::HideProgress() { progress_->hide(); }

void StatusBar::EndWork(const QString& outcome) {
    HideProgress();
    cancel_->hide();
    escape_->setEnabled(false);
    cancelWork_ = nullptr;
    panel_->setText(outcome.isEmpty() ? before_ : outcome);
}
