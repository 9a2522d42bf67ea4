// SPDX-License-Identifier: GPL-3.0-or-later
// The About box, opened from the window's Help menu and driven headless.
#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <sys/utsname.h>

#include "common/DialogDriver.h"
#include "support/dialogs/frmAbout.h"
#include "window/WindowFixture.h"

class frmAboutTest : public WindowFixture {
    Q_OBJECT

    static QString Label(QWidget* dialog, const char* name) { return In<QLabel>(dialog, name)->text(); }

    QStringList seen_;  // what the About box showed while it stood over the window

private Q_SLOTS:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    void helpAboutShowsTheProgramsNameVersionAndPurpose() {
        seen_.clear();
        QTimer::singleShot(0, this, [this] {
            auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
            if (!about) return;
            seen_ << about->windowTitle() << Label(about, "lblTitle") << Label(about, "lblVersion")
                  << Label(about, "lblDescription") << Unnamed(about);
            if (about->findChild<QPushButton*>(QStringLiteral("cmdQuillfen"))) seen_ << QStringLiteral("cmdQuillfen");
            Press(about, "cmdOK");
        });
        Find<QAction>("mnuAbout")->trigger();  // returns once OK has closed the box
        QCOMPARE(seen_, QStringList({"About Reelvault", "Reelvault", "Version 0.6.5",
                                     "Organize your multimedia collection with this application"}));
    }

    void systemInfoShowsCopyableFactsOrSaysTheyAreUnavailable() {
        frmAbout about(prompts_, window_.get());
        auto* facts = In<QPlainTextEdit>(&about, "txtSysInfo");
        QVERIFY(facts->isHidden());
        Press(&about, "cmdSysInfo");
        QVERIFY(!facts->isHidden());
        QVERIFY(facts->isReadOnly());
        QVERIFY(facts->textInteractionFlags() & Qt::TextSelectableByMouse);
        utsname system{};
        QCOMPARE(uname(&system), 0);
        const QString text = facts->toPlainText();
        for (const QString& expected : {QString::fromUtf8(system.release), QStringLiteral("SQLite"),
                                        QStringLiteral("Qt: ") + QString::fromLatin1(qVersion())})
            QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" not in ") + text));
        QVERIFY(prompts_.Told.isEmpty());

        frmAbout without(prompts_, window_.get(), [] { return SystemFacts{{}, "nothing to read"}; });
        Press(&without, "cmdSysInfo");
        QCOMPARE(prompts_.Told, QStringList({"Reelvault", "System Information Is Unavailable At This Time"}));
        QVERIFY(In<QPlainTextEdit>(&without, "txtSysInfo")->isHidden());
    }
};

RV_WINDOW_TEST_MAIN(frmAboutTest)
#include "frmAboutTest.moc"
