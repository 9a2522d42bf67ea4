// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/dialogs/frmAbout.h"

#include <QApplication>
#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <string_view>
#include <utility>

#include "support/Version.h"
#include "support/modUtilities.h"
#include "widgets/Controls.h"
#include "widgets/Prompts.h"

namespace {

// The maker's web site. There is none yet, and an invented address would send people astray, so
// the button that opens it is only made once this names one.
constexpr std::string_view kMakerSite;

QString Q(const std::string& text) { return QString::fromStdString(text); }

QFrame* MakeSeparator() {
    auto* line = Named(new QFrame, "Line1");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setAccessibleName(QObject::tr("Separator"));
    return line;
}

}  // namespace

frmAbout::frmAbout(Prompts& prompts, QWidget* parent, FactsSource facts)
    : QDialog(parent), prompts_(prompts), facts_(std::move(facts)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About Reelvault"));
    setModal(true);
    txtSysInfo_ = Named(new QPlainTextEdit, "txtSysInfo");
    txtSysInfo_->setReadOnly(true);
    txtSysInfo_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    txtSysInfo_->setAccessibleName(tr("System Information"));
    txtSysInfo_->setMinimumSize(560, 160);
    txtSysInfo_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(BuildHeading());
    layout->addWidget(MakeSeparator());
    layout->addWidget(txtSysInfo_);
    layout->addWidget(MakeSeparator());
    layout->addLayout(BuildButtons());
    layout->setSizeConstraint(QLayout::SetFixedSize);  // grows to show the facts, and back
}

QLayout* frmAbout::BuildHeading() {
    auto* title = Named(new QLabel(tr("Reelvault")), "lblTitle");
    QFont large = title->font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    large.setBold(true);
    title->setFont(large);
    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(Named(new QLabel(Q(VersionText())), "lblVersion"));
    texts->addWidget(Named(new QLabel(tr("Organize your multimedia collection with this application")), "lblDescription"));

    auto* heading = new QHBoxLayout;
    if (const QIcon icon = QApplication::windowIcon(); !icon.isNull()) {
        auto* picture = Named(new QLabel, "imgIcon");
        picture->setPixmap(icon.pixmap(64, 64));
        picture->setAccessibleName(tr("Reelvault icon"));
        heading->addWidget(picture, 0, Qt::AlignTop);
    }
    heading->addLayout(texts, 1);
    return heading;
}

QLayout* frmAbout::BuildButtons() {
    auto* buttons = new QHBoxLayout;
    if (!kMakerSite.empty()) {
        QPushButton* site = MakeButton("cmdQuillfen", "Quillfen Software");
        connect(site, &QPushButton::clicked, this, [this] {
            if (const std::string why = ShellOpen(std::string(kMakerSite)); !why.empty())
                prompts_.Tell(this, tr("Reelvault"), Q(why), true);
        });
        buttons->addWidget(site);
    }
    buttons->addStretch(1);
    QPushButton* sysInfo = MakeButton("cmdSysInfo", "&System Info...");
    connect(sysInfo, &QPushButton::clicked, this, &frmAbout::ShowSystemInfo);
    buttons->addWidget(sysInfo);
    QPushButton* ok = MakeButton("cmdOK", "OK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(ok);
    return buttons;
}

// Gathered afresh at each request, so what is shown is how things stand now.
void frmAbout::ShowSystemInfo() {
    const SystemFacts facts = facts_();
    if (!facts) {
        prompts_.Tell(this, tr("Reelvault"), tr("System Information Is Unavailable At This Time"));
        return;
    }
    QStringList lines{QStringLiteral("Reelvault: ") + Q(VersionNumber())};
    for (const std::string& line : facts.Lines) lines << Q(line);
    lines << QStringLiteral("Qt: ") + QString::fromLatin1(qVersion());
    txtSysInfo_->setPlainText(lines.join(QLatin1Char('\n')));
    txtSysInfo_->show();
    txtSysInfo_->setFocus();
}
