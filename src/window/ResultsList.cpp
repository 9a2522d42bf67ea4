// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/ResultsList.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QProcess>
#include <QScrollBar>

#include <algorithm>

#include "drives/dialogs/DriveNotes.h"
#include "listing/ListRow.h"
#include "model/modCatalogue.h"
#include "support/modUtilities.h"
#include "widgets/Prompts.h"
#include "window/FileListModel.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

ResultsList::ResultsList(Catalogue& catalogue, FileListModel* model, Prompts& prompts, QWidget* parent)
    : QTableView(parent), catalogue_(catalogue), model_(model), prompts_(prompts) {
    setObjectName(QStringLiteral("lstFile"));
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    SizeColumns();
    MakeColumnMenu();
    ShowColumns({});
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &ResultsList::SortBy);
    // The row left chosen, which a Ctrl+click that takes one away need not have clicked. With
    // several chosen none is edited: the batch form takes them all.
    connect(this, &QTableView::clicked, this, [this] {
        const QModelIndexList chosen = selectionModel()->selectedRows();
        if (chosen.size() != 1) return;
        if (const FileRecord* listed = model_->RecordAt(chosen.front().row())) Q_EMIT FileChosen(listed->FileID);
    });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { Q_EMIT ChosenChanged(ChosenFileIDs()); });
    // A reset forgets the selection without a word of it.
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { Q_EMIT ChosenChanged({}); });
    connect(this, &QTableView::doubleClicked, this, [this](const QModelIndex& index) { Open(index.row()); });
}

// The widths are pixels at 96 dots per inch; the file name takes what a path needs besides.
void ResultsList::SizeColumns() {
    for (int column = 0; column < kListColumnCount; ++column)
        setColumnWidth(column, kListColumns[column].Width * logicalDpiX() / 96 + (column == FileNameColumn ? 240 : 20));
}

QString ResultsList::Header(int column) const { return model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(); }

// The header's own menu (a right-click on it): a check per column but the file name's.
void ResultsList::MakeColumnMenu() {
    columnMenu_ = new QMenu(this);
    columnMenu_->setObjectName(QStringLiteral("mnuListColumns"));
    for (int column = FileNameColumn + 1; column < model_->columnCount(); ++column) {
        QAction* item = columnMenu_->addAction(Header(column));
        item->setObjectName(QStringLiteral("mnuColumn") + Header(column).remove(QLatin1Char(' ')));
        item->setCheckable(true);
        connect(item, &QAction::toggled, this, [this, column](bool on) {
            if (isColumnHidden(column) != on) return;  // set from the settings, not by the person
            setColumnHidden(column, !on);
            Q_EMIT ColumnsChosen(ShownColumns());
        });
    }
    horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(horizontalHeader(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { columnMenu_->popup(horizontalHeader()->mapToGlobal(at)); });
}

void ResultsList::ShowColumns(const QStringList& shown) {
    const int firstFact = FileListModel::FirstFactColumn();
    const QList<QAction*> items = columnMenu_->actions();
    for (int column = FileNameColumn + 1; column < model_->columnCount(); ++column) {
        const bool show = shown.isEmpty() ? column < firstFact : shown.contains(Header(column));
        setColumnHidden(column, !show);
        items[column - 1]->setChecked(show);
    }
}

QStringList ResultsList::ShownColumns() const {
    QStringList shown;
    for (int column = 0; column < model_->columnCount(); ++column) {
        if (!isColumnHidden(column)) shown << Header(column);
    }
    return shown;
}

std::vector<int> ResultsList::ChosenFileIDs() const {
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<int> ids;
    ids.reserve(static_cast<std::size_t>(rows.size()));
    for (const QModelIndex& row : rows) {
        if (const FileRecord* listed = model_->RecordAt(row.row())) ids.push_back(listed->FileID);
    }
    return ids;
}

QString ResultsList::ChosenText() const {
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList lines;
    for (const QModelIndex& row : rows) {
        QStringList cells;
        for (int visual = 0; visual < horizontalHeader()->count(); ++visual) {
            const int column = horizontalHeader()->logicalIndex(visual);
            if (!isColumnHidden(column)) cells << model_->index(row.row(), column).data(Qt::EditRole).toString();
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}

void ResultsList::SortBy(int column) {
    model_->SortByHeader(column);
    horizontalHeader()->setSortIndicator(column, model_->Order());
    horizontalHeader()->setSortIndicatorShown(true);
}

void ResultsList::RestoreSort(int column, Qt::SortOrder order) {
    model_->SortBy(column, order);
    if (!model_->IsSorted()) return;
    horizontalHeader()->setSortIndicator(model_->SortColumn(), model_->Order());
    horizontalHeader()->setSortIndicatorShown(true);
}

// Enter opens the file as a double click does; the view alone would only report the row activated.
// The view's own copy takes the one cell with the focus as shown; people want the rows, exact.
void ResultsList::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        if (selectionModel()->hasSelection()) QGuiApplication::clipboard()->setText(ChosenText());
        return event->accept();
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        if (currentIndex().isValid()) Open(currentIndex().row());
        return event->accept();
    }
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        DeleteChosen();
        return event->accept();
    }
    QTableView::keyPressEvent(event);
}

void ResultsList::DeleteChosen() {
    const std::vector<int> ids = ChosenFileIDs();
    if (ids.empty()) return;
    if (catalogue_.Store.ReadOnly()) return Q_EMIT StatusChanged(tr("The catalogue cannot be written; nothing was deleted."));
    const QString question = ids.size() == 1 ? tr("Delete 1 record from the catalogue?")
                                             : tr("Delete %1 records from the catalogue?").arg(ids.size());
    if (!prompts_.Confirm(this, tr("Delete"), question)) return;
    clsSQLite::Transaction unit(catalogue_.Store);
    std::string error = unit.BeginError();
    for (auto id = ids.begin(); error.empty() && id != ids.end(); ++id) error = DeleteFile(catalogue_, *id);
    if (error.empty()) error = unit.Commit();
    if (!error.empty()) return Q_EMIT StatusChanged(tr("Nothing was deleted: %1").arg(Q(error)));
    Q_EMIT FilesDeleted(ids);
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
