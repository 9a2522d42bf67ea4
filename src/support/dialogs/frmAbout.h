// SPDX-License-Identifier: GPL-3.0-or-later
// About Reelvault: the program's name, version and purpose, and on request the facts about this
// computer that a bug report needs, in a box they can be copied from.
#pragma once

#include <QDialog>

#include <functional>

#include "support/modSystemInfo.h"

class Prompts;
class QPlainTextEdit;

class frmAbout : public QDialog {
    Q_OBJECT

public:
    // Tests hand in their own facts, to see the dialog cope when there are none.
    using FactsSource = std::function<SystemFacts()>;

    frmAbout(Prompts& prompts, QWidget* parent, FactsSource facts = [] { return GatherSystemFacts(); });

private:
    QLayout* BuildHeading();
    QLayout* BuildButtons();
    void ShowSystemInfo();

    Prompts& prompts_;
    FactsSource facts_;
    QPlainTextEdit* txtSysInfo_;
};
