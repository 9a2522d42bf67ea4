// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/ResultsList.h"

#include <QHeaderView>
#include <QProcess>
#include <QScrollBar>

#include "drives/dialogs/DriveNotes.h"
#include "listing/ListRow.h"
#include "support/modUtilities.h"
#include "window/FileListModel.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

ResultsList::ResultsList(Catalogue& catalogue, FileListModel* model, QWidget* parent)
    : QTableView(parent), catalogue_(catalogue), model_(model) {
    setObjectName(QStringLiteral("lstFile"));
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    SizeColumns();
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &ResultsList::SortBy);
    connect(this, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (const FileRecord* listed = model_->RecordAt(index.row())) Q_EMIT FileChosen(listed->FileID);
    });
    connect(this, &QTableView::doubleClicked, this, [this](const QModelIndex& index) { Open(index.row()); });
}

// The widths are pixels at 96 dots per inch; the file name takes what a path needs besides.
void ResultsList::SizeColumns() {
    for (int column = 0; column < kListColumnCount; ++column)
        setColumnWidth(column, kListColumns[column].Width * logicalDpiX() / 96 + (column == FileNameColumn ? 240 : 20));
}

void ResultsList::SortBy(int column) {
    model_->SortByHeader(column);
    horizontalHeader()->setSortIndicator(column, model_->Order());
    horizontalHeader()->setSortIndicatorShown(true);
}

void ResultsList::Open(int row) {
    const FileRecord* listed = model_->RecordAt(row);
    if (!listed) return;
    if (const QString away = CannotOpenNote(catalogue_, *listed); !away.isEmpty()) return Q_EMIT StatusChanged(away);
    const std::string path = listed->FileName;
    clsFile& files = catalogue_.Files;
    clsFileType& types = catalogue_.FileTypes;
    if (files.GotoFileName(path) && types.GotoFileTypeID(files.TypeID()) && !types.ExternalApp().empty()) {
        if (!QProcess::startDetached(Q(types.ExternalApp()), {Q(path)}))
            Q_EMIT StatusChanged(Q("Could not start " + types.ExternalApp()));
        return;
    }
    if (std::string error = ShellOpen(path); !error.empty()) Q_EMIT StatusChanged(Q(error));
}

int ResultsList::ScrolledTo() const { return verticalScrollBar()->value(); }

// The scroll range is laid out now rather than later, so the old place is still in it.
void ResultsList::ScrollBackTo(int scrolled) {
    doItemsLayout();
    verticalScrollBar()->setValue(scrolled);
}
