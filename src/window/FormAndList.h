// SPDX-License-Identifier: GPL-3.0-or-later
// The tabs above, centred, and the results list below, with a split between them that the person
// moves: down for more room in the form, up for more rows.
#pragma once

#include <QSplitter>

class FormAndList : public QSplitter {
    Q_OBJECT

public:
    // tabs keep their width and grow in height with the split; formHeight is their first height.
    FormAndList(QWidget* tabs, int formHeight, QWidget* list, QWidget* parent = nullptr);
};
