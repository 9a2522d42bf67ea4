// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/FileTypesTab.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include "window/Controls.h"

FileTypesTab::FileTypesTab(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    auto* types = new QGridLayout;
    lstFileFileType = MakeList("lstFileFileType");
    types->addWidget(lstFileFileType, 0, 0);
    types->addWidget(MakeButton("cmdFileFileTypeDelete", "Delete"), 1, 0, Qt::AlignLeft);
    layout->addLayout(types, 2);
    layout->addWidget(MakeEditor(), 3);
}

QWidget* FileTypesTab::MakeEditor() {
    auto* editor = new QWidget;
    auto* grid = new QGridLayout(editor);
    grid->setContentsMargins(0, 0, 0, 0);
    txtFileFileTypeID = MakeLineEdit("txtFileFileTypeID");
    txtFileFileTypeID->setVisible(false);
    txtFileDescription = MakeLineEdit("txtFileDescription");
    txtFileExternalApp = MakeLineEdit("txtFileExternalApp");
    grid->addWidget(MakeLabel("Description", txtFileDescription), 0, 0);
    grid->addWidget(txtFileDescription, 0, 1, 1, 2);
    grid->addWidget(MakeLabel("External Application", txtFileExternalApp), 1, 0);
    grid->addWidget(txtFileExternalApp, 1, 1);
    grid->addWidget(MakeButton("cmdFileExternalAppBrowse", "Browse"), 1, 2);
    grid->addWidget(txtFileFileTypeID, 2, 1);

    const ListEditor extensions = MakeListEditor("fraFileFileExtension", "File Extensions", "extension", "txtFileFileExtension",
                                                 "cmdFileAddFileExtension", "lstFileFileExtension", "cmdFileDeleteFileExtension");
    txtFileFileExtension = extensions.Edit;
    lstFileFileExtension = extensions.List;
    grid->addWidget(extensions.Frame, 3, 0, 1, 3);
    grid->setRowStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    cmdFileSave = MakeButton("cmdFileSave", "Save");
    cmdFileSave->setEnabled(false);
    buttons->addWidget(cmdFileSave);
    buttons->addWidget(MakeButton("cmdFileClear", "Clear"));
    buttons->addStretch();
    grid->addLayout(buttons, 4, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    return editor;
}

void FileTypesTab::ShowFileTypes(const QStringList& descriptions) {
    lstFileFileType->clear();
    lstFileFileType->addItems(descriptions);
}

void FileTypesTab::EnableSaving() { cmdFileSave->setEnabled(true); }
