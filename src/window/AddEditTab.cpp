// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/AddEditTab.h"

#include <QGridLayout>
#include <QPlainTextEdit>
#include <QHBoxLayout>
#include <QStackedLayout>
#include <QVBoxLayout>

#include <filesystem>
#include <limits>
#include <system_error>

#include "analysis/modMediaInfo.h"
#include "drives/dialogs/DriveNotes.h"
#include "facts/FactRows.h"
#include "facts/FactText.h"
#include "model/modCatalogue.h"
#include "store/OwnTables.h"
#include "support/modUtilities.h"
#include "tools/DirectoryScan.h"
#include "window/BatchForm.h"
#include "window/CRCJob.h"
#include "widgets/Controls.h"
#include "window/FileDropTarget.h"
#include "window/FramePicture.h"
#include "listing/UserNumber.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string Std(const QString& text) { return text.toStdString(); }

constexpr auto kIntMin = std::numeric_limits<int>::min();
constexpr auto kIntMax = std::numeric_limits<int>::max();

// The drive the catalogue links the saved record to, as a load would read it: the save gave it one
// from its path, or kept the one it had while that drive is away. -1 for none.
int LinkedDrive(Catalogue& catalogue, const FileRecord& record) {
    if (!catalogue.OwnTables.Usable() ||
        !catalogue.Store.Execute("SELECT DriveID, PathKey FROM rvFileDrive WHERE FileID=?1;", {record.FileID}).empty() ||
        catalogue.Store.RecordCount() != 1 || catalogue.Store.Field(1).AsInt() != PathKey(record.FileName))
        return -1;
    return static_cast<int>(catalogue.Store.Field(0).AsInt());
}

}  // namespace

AddEditTab::AddEditTab(Catalogue& catalogue, const Settings& settings, QWidget* parent)
    : QWidget(parent), catalogue_(catalogue), settings_(settings) {
    pages_ = new QStackedLayout(this);
    single_ = new QWidget;
    pages_->addWidget(single_);
    auto* layout = new QHBoxLayout(single_);
    layout->setContentsMargins(0, 0, 0, 0);
    // The film, its picture beside its facts, under the fields, where they leave room.
    auto* film = new QVBoxLayout;
    film->addWidget(MakeFields());
    auto* media = new QHBoxLayout;
    picAddFrame = new FramePicture;
    media->addWidget(picAddFrame);
    media->addWidget(MakeMedia(), 1);
    film->addLayout(media, 1);
    layout->addLayout(film, 3);
    auto* side = new QVBoxLayout;
    side->addWidget(MakeKeywords(), 1);
    QGroupBox* fraAddDropFile = MakeFrame("fraAddDropFile", "Drop File Here");
    auto* dropHint = new QLabel(tr("Drop a file from your file manager here to fill in the form."));
    dropHint->setWordWrap(true);
    dropHint->setAlignment(Qt::AlignCenter);
    (new QVBoxLayout(fraAddDropFile))->addWidget(dropHint);
    fraAddDropFile->setMinimumHeight(70);
    side->addWidget(fraAddDropFile);
    layout->addLayout(side, 2);

    auto* drops = new FileDropTarget(this, fraAddDropFile, dropHint);
    connect(drops, &FileDropTarget::FilesDropped, this, [this](const QStringList& files) {
        Clear();
        FillFormFromPath(files.first());
    });
    // A CRC belongs to the path it was started for.
    connect(txtAddFileName, &QLineEdit::textChanged, this, &AddEditTab::CancelCRC);
}

QWidget* AddEditTab::MakeFields() {
    auto* fields = new QWidget;
    auto* grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);
    txtAddFileName = MakeLineEdit("txtAddFileName");
    txtAddCRC = MakeLineEdit("txtAddCRC");
    txtAddTitle = MakeLineEdit("txtAddTitle");
    txtAddSize = MakeLineEdit("txtAddSize");
    txtAddLength = MakeLineEdit("txtAddLength");
    cboAddType = MakeCombo("cboAddType");
    txtAddRating = MakeLineEdit("txtAddRating", 3);
    cboAddCategory = MakeCombo("cboAddCategory");
    txtAddFourCC = MakeLineEdit("txtAddFourCC", 4);
    txtAddFileID = MakeLineEdit("txtAddFileID");
    txtAddFileID->setVisible(false);

    const auto row = [&](int at, const char* label, QWidget* field, QPushButton* calculate = nullptr) {
        grid->addWidget(MakeLabel(label, field), at, 0);
        grid->addWidget(field, at, 1, 1, calculate ? 1 : 2);
        if (calculate) grid->addWidget(calculate, at, 2);
    };
    row(0, "File Name", txtAddFileName);
    row(1, "Title", txtAddTitle);
    cmdAddCRCCalculate = MakeCalculateButton("cmdAddCRCCalculate", "CRC", &AddEditTab::CalculateCRC);
    row(2, "CRC", txtAddCRC, cmdAddCRCCalculate);
    row(3, "Size (bytes)", txtAddSize, MakeCalculateButton("cmdAddSizeCalculate", "Size", &AddEditTab::CalculateSize));
    row(4, "Length (ms)", txtAddLength, MakeCalculateButton("cmdAddLengthCalculate", "Length", &AddEditTab::CalculateLength));
    row(5, "FourCC", txtAddFourCC, MakeCalculateButton("cmdAddFourCCCalculate", "FourCC", &AddEditTab::CalculateFourCC));
    row(6, "Type", cboAddType);
    row(7, "Category", cboAddCategory);
    row(8, "Rating", txtAddRating);
    grid->addWidget(txtAddFileID, 9, 1);
    grid->addWidget(MakeButtons(), 10, 0, 1, 3);
    grid->setRowStretch(11, 1);
    grid->setColumnStretch(1, 1);
    return fields;
}

// Four buttons read "Calculate"; a screen reader tells them apart by the field they fill.
QPushButton* AddEditTab::MakeCalculateButton(const char* name, const char* field, void (AddEditTab::*action)()) {
    QPushButton* button = MakeButton(name, "Calculate");
    button->setAccessibleName(tr("Calculate %1").arg(QString::fromUtf8(field)));
    connect(button, &QPushButton::clicked, this, action);
    return button;
}

QWidget* AddEditTab::MakeKeywords() {
    const ListEditor keywords = MakeListEditor("fraAddKeywords", "Keywords", "keyword", "txtAddKeyword", "cmdAddKeywordAdd",
                                               "lstAddKeywords", "cmdAddKeywordDelete");
    txtAddKeyword = keywords.Edit;
    lstAddKeywords = keywords.List;
    return keywords.Frame;
}

QWidget* AddEditTab::MakeMedia() {
    QGroupBox* frame = MakeFrame("fraAddMedia", "Media");
    txtAddMedia = new QPlainTextEdit;
    txtAddMedia->setObjectName(QStringLiteral("txtAddMedia"));
    txtAddMedia->setReadOnly(true);
    txtAddMedia->setAccessibleName(tr("Media"));
    txtAddMedia->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtAddMedia->setFixedHeight(120);  // the list below keeps its room; a long list of tracks scrolls
    (new QVBoxLayout(frame))->addWidget(txtAddMedia);
    return frame;
}

void AddEditTab::ShowFacts(const MediaFacts* facts, const QString& none) {
    txtAddMedia->setPlainText(facts ? Q(DescribeFacts(*facts)).trimmed() : none);
}

QWidget* AddEditTab::MakeButtons() {
    auto* buttons = new QWidget;
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 8, 0, 0);
    const auto button = [&](const char* name, const char* caption, void (AddEditTab::*action)()) {
        QPushButton* made = MakeButton(name, caption);
        connect(made, &QPushButton::clicked, this, action);
        row->addWidget(made);
        return made;
    };
    cmdAddSave = button("cmdAddSave", "Save", &AddEditTab::Save);
    cmdAddSave->setEnabled(false);
    button("cmdAddClear", "Clear", &AddEditTab::Clear);
    cmdAddDelete = button("cmdAddDelete", "Delete", &AddEditTab::Delete);
    cmdAddDelete->setEnabled(false);
    row->addStretch();
    button("cmdAddPlay", "Open File", &AddEditTab::OpenFile);
    return buttons;
}

void AddEditTab::EnableSaving(bool on) {
    savingEnabled_ = on;
    UpdateSaveButton();
    cmdAddDelete->setEnabled(on);
    if (batch_) batch_->EnableSaving(on);
}

void AddEditTab::AddBatchForm(BatchForm* form) {
    batch_ = form;
    pages_->addWidget(form);
    form->EnableSaving(savingEnabled_);
}

void AddEditTab::ShowChosen(const std::vector<int>& fileIDs) {
    if (!batch_) return;
    batch_->Choose(fileIDs);
    pages_->setCurrentWidget(fileIDs.size() > 1 ? static_cast<QWidget*>(batch_) : single_);
}

void AddEditTab::UpdateSaveButton() { cmdAddSave->setEnabled(savingEnabled_ && !crc_); }

void AddEditTab::ShowCategoryNames(const QStringList& names) {
    FillNameCombo(cboAddCategory, names, false);
    if (batch_) batch_->ShowCategoryNames(names);
}

void AddEditTab::ShowFileTypeNames(const QStringList& names) {
    FillNameCombo(cboAddType, names, false);
    if (batch_) batch_->ShowFileTypeNames(names);
}

void AddEditTab::ClearAddForm() {
    for (QLineEdit* field : {txtAddFileID, txtAddFileName, txtAddTitle, txtAddCRC, txtAddSize, txtAddLength, txtAddRating,
                             txtAddFourCC, txtAddKeyword})
        field->clear();
    cboAddType->setCurrentIndex(-1);
    cboAddCategory->setCurrentIndex(-1);
    lstAddKeywords->clear();
    txtAddMedia->clear();
    probedFacts_.reset();
    probedPath_.clear();
    picAddFrame->Empty();
    CancelCRC();
}

void AddEditTab::Clear() {
    ClearAddForm();
    Q_EMIT FormCleared();
}

void AddEditTab::ShowFileRecord(int fileID) {
    if (!catalogue_.Files.GotoFileID(fileID)) return;
    const FileRecord record = *catalogue_.Files.Current();
    Clear();
    txtAddFileID->setText(QString::number(record.FileID));
    txtAddFileName->setText(Q(record.FileName));
    txtAddTitle->setText(Q(record.Title));
    if (catalogue_.FileTypes.GotoFileTypeID(record.TypeID)) ChooseLastEqual(cboAddType, Q(catalogue_.FileTypes.FileType()));
    if (catalogue_.Categories.GotoCategoryID(record.CategoryID))
        ChooseLastEqual(cboAddCategory, Q(catalogue_.Categories.Category()));
    txtAddCRC->setText(Q(record.CRC));
    txtAddSize->setText(QString::number(record.Size));
    txtAddLength->setText(QString::number(record.Length));
    txtAddRating->setText(QString::number(record.Rating));
    txtAddFourCC->setText(QString::fromLatin1(record.FourCC));
    for (const std::string& keyword : record.Keywords) lstAddKeywords->addItem(Q(keyword));
    std::string error;
    const std::optional<MediaFacts> facts = ReadFactsOf(catalogue_.Store, record.FileID, record.FileName, error);
    ShowFacts(facts ? &*facts : nullptr, error.empty() ? QString() : tr("Could not read the media facts: %1").arg(Q(error)));
    picAddFrame->ShowFrameOf(catalogue_.Store, record.FileID, record.FileName);
}

void AddEditTab::FramesArrived(const QList<int>& fileIDs) {
    const int shown = picAddFrame->FileID();
    if (shown < 0 || !fileIDs.contains(shown) || !catalogue_.Files.GotoFileID(shown)) return;
    picAddFrame->ShowFrameOf(catalogue_.Store, shown, catalogue_.Files.Current()->FileName);
}

void AddEditTab::FillFormFromPath(const QString& path) {
    txtAddFileName->setText(path);
    std::string extension = GetExtension(GetFileName(Std(path)));
    if (extension.starts_with('.')) extension.erase(0, 1);
    if (!extension.empty() && catalogue_.FileTypes.GotoExtension(extension))
        ChooseLastEqual(cboAddType, Q(catalogue_.FileTypes.FileType()));
    CalculateSize();
    CalculateLength();
    CalculateFourCC();
    // Last, because it runs on: the status bar then tells of it, and afterwards of the rest.
    if (settings_.AutoCalculateCRC) CalculateCRC();
}

void AddEditTab::Save() {
    const std::optional<FileRecord> record = RecordFromForm();
    if (!record) return;
    if (txtAddFileID->text().isEmpty()) Insert(*record);
    else Update(*record);
}

// The form as a record; nullopt, with the reason shown, when a number does not fit its column.
std::optional<FileRecord> AddEditTab::RecordFromForm() {
    FileRecord record;
    const auto number = [this](QLineEdit* field, const char* name, std::int64_t lowest, std::int64_t highest) {
        const std::optional<std::int64_t> value = WholeNumberOf(Std(field->text()), lowest, highest);
        if (!value) {
            Q_EMIT StatusChanged(tr("Not saved: %1 \"%2\" is not a number from %3 to %4")
                                     .arg(QString::fromUtf8(name), field->text()).arg(lowest).arg(highest));
        }
        return value;
    };
    const auto size = number(txtAddSize, "Size (bytes)", std::numeric_limits<std::int64_t>::min(),
                             std::numeric_limits<std::int64_t>::max());
    const auto length = number(txtAddLength, "Length (ms)", kIntMin, kIntMax);
    const auto rating = number(txtAddRating, "Rating", kIntMin, kIntMax);
    if (!size || !length || !rating) return std::nullopt;
    record.FileID = EditedFileID();
    record.FileName = Std(txtAddFileName->text());
    record.Title = Std(txtAddTitle->text());
    if (cboAddType->currentIndex() > 0 && catalogue_.FileTypes.GotoFileType(Std(cboAddType->currentText())))
        record.TypeID = catalogue_.FileTypes.FileTypeID();
    if (cboAddCategory->currentIndex() > 0 && catalogue_.Categories.GotoCategoryName(Std(cboAddCategory->currentText())))
        record.CategoryID = catalogue_.Categories.CategoryID();
    record.CRC = Std(txtAddCRC->text());
    record.Size = *size;
    record.Length = static_cast<int>(*length);
    record.FourCC = txtAddFourCC->text().toLatin1().toStdString();  // a FourCC is four bytes, not UTF-8
    record.Rating = static_cast<int>(*rating);
    for (int entry = 0; entry < lstAddKeywords->count(); ++entry) record.Keywords.push_back(Std(lstAddKeywords->item(entry)->text()));
    return record;
}

// The record and the facts probed for its path are one unit. Facts probed for another path are
// not this record's, and the ones it has stay until its file is probed (their path tells).
NewKey AddEditTab::SaveWithFacts(const FileRecord& record, const std::function<NewKey()>& save) {
    clsSQLite::Transaction unit(catalogue_.Store);
    if (!unit.BeginError().empty()) return {0, unit.BeginError()};
    NewKey saved = save();
    if (saved.Error.empty() && !probedPath_.empty() && probedPath_ == record.FileName)
        saved.Error = KeepFacts(catalogue_.Store, catalogue_.OwnTables.Usable(), saved.ID, record.FileName, probedFacts_);
    if (saved.Error.empty()) saved.Error = unit.Commit();
    return saved;
}

void AddEditTab::Insert(const FileRecord& record) {
    const NewKey added = SaveWithFacts(record, [&] { return InsertFile(catalogue_, record); });
    if (!added.Error.empty()) {
        Q_EMIT StatusChanged(tr("Could not save %1: %2").arg(Q(record.FileName), Q(added.Error)));
        return;
    }
    Clear();
    Q_EMIT FileAdded(added.ID);
}

void AddEditTab::Update(const FileRecord& record) {
    if (const std::string error =
            SaveWithFacts(record, [&] { return NewKey{record.FileID, UpdateFile(catalogue_, record)}; }).Error;
        !error.empty()) {
        Q_EMIT StatusChanged(tr("Could not save %1: %2").arg(Q(record.FileName), Q(error)));
        return;
    }
    FileRecord saved = record;
    saved.DriveID = LinkedDrive(catalogue_, record);
    if (catalogue_.Files.Modify(saved)) Q_EMIT FileRewritten(record.FileID);
    else Q_EMIT CatalogueChanged();
}

void AddEditTab::Delete() {
    if (txtAddFileID->text().isEmpty()) return;
    const int fileID = EditedFileID();
    if (const std::string error = DeleteFile(catalogue_, fileID); !error.empty()) {
        Q_EMIT StatusChanged(tr("Could not delete %1: %2").arg(txtAddFileName->text(), Q(error)));
        return;
    }
    Clear();
    Q_EMIT FileDeleted(fileID);
}

int AddEditTab::EditedFileID() const {
    if (txtAddFileID->text().isEmpty()) return -1;
    return static_cast<int>(WholeNumberOf(Std(txtAddFileID->text()), kIntMin, kIntMax).value_or(-1));
}

std::string AddEditTab::FilePath() const { return Std(txtAddFileName->text()); }

bool AddEditTab::FileExists() const { return !txtAddFileName->text().isEmpty() && IsExistingFile(FilePath()); }

void AddEditTab::CalculateCRC() {
    if (!FileExists()) return;
    CancelCRC();
    crc_ = new CRCJob(FilePath(), this);
    connect(crc_, &CRCJob::Finished, crc_, &QObject::deleteLater);
    connect(crc_, &CRCJob::Progress, this, &AddEditTab::CRCProgress);
    connect(crc_, &CRCJob::Finished, this, &AddEditTab::CRCFinished);
    cmdAddCRCCalculate->setEnabled(false);
    UpdateSaveButton();
    Q_EMIT CRCStarted(txtAddFileName->text());
}

// An unreadable file gets no CRC at all: "0" would make every such file look like the others' duplicate.
void AddEditTab::CRCFinished(const CRCResult& result) {
    crc_ = nullptr;
    txtAddCRC->setText(Q(result.Text));
    cmdAddCRCCalculate->setEnabled(true);
    UpdateSaveButton();
    Q_EMIT CRCEnded(Q(result.Error));
}

// The worker is left to stop on its own after its current chunk; the form does not wait for it.
void AddEditTab::CancelCRC() {
    if (!crc_) return;
    crc_->Cancel();
    disconnect(crc_, nullptr, this, nullptr);
    crc_ = nullptr;
    cmdAddCRCCalculate->setEnabled(true);
    UpdateSaveButton();
    Q_EMIT CRCEnded({});
}

void AddEditTab::CalculateSize() {
    if (!FileExists()) return;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(FilePath(), error);
    if (error) {
        Q_EMIT StatusChanged(tr("Could not read %1: %2").arg(txtAddFileName->text(), Q(error.message())));
        return;
    }
    txtAddSize->setText(QString::number(size));
}

// A file that does not play keeps the length it had; the status bar says why.
void AddEditTab::CalculateLength() {
    if (!FileExists()) return;
    const MediaInfo media = GetMediaInfo(FilePath());
    probedPath_ = FilePath();
    probedFacts_ = media.Facts;
    ShowFacts(media.Facts ? &*media.Facts : nullptr, Q(media.Reason));
    if (!media.IsMedia) {
        Q_EMIT StatusChanged(Q(media.Reason));
        return;
    }
    txtAddLength->setText(QString::number(media.Length));
}

void AddEditTab::CalculateFourCC() {
    if (FileExists()) txtAddFourCC->setText(QString::fromLatin1(GetFourCC(FilePath())));
}

// A file on a drive that is away is not just missing: the person is told which drive to plug in.
void AddEditTab::OpenFile() {
    if (!FileExists()) {
        clsFile& files = catalogue_.Files;
        if (files.GotoFileID(EditedFileID()) && files.Current()->FileName == FilePath())
            Q_EMIT StatusChanged(CannotOpenNote(catalogue_, *files.Current()));
        return;
    }
    if (const std::string error = ShellOpen(FilePath()); !error.empty()) Q_EMIT StatusChanged(Q(error));
}
