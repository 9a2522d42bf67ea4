// SPDX-License-Identifier: GPL-3.0-or-later
// The About box, opened from the window's Help menu and driven headless.
#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <sys/utsname.h>

#include "support/dialogs/frmAbout.h"
#include "window/WindowFixture.h"

class frmAboutTest : public WindowFixture {
    Q_OBJECT

    template <class T>
    static T* In(QWidget* dialog, const char* name) {
        T* found = dialog->findChild<T*>(QString::fromUtf8(name));
        if (!found) qFatal("no control %s", name);
        return found;
    }
    static QString Label(QWidget* dialog, const char* name) { return In<QLabel>(dialog, name)->text(); }

    QStringList seen_;  // what the About box showed while it stood over the window

    // Screen readers need a name for each of the box's own controls, not for Qt's parts inside them.
    static QStringList Unnamed(QWidget* dialog) {
        QStringList unnamed;
        for (QWidget* control : dialog->findChildren<QWidget*>()) {
            if (control->objectName().isEmpty() || control->objectName().startsWith(QStringLiteral("qt_"))) continue;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
            if (!accessible || accessible->text(QAccessible::Name).isEmpty()) unnamed << control->objectName();
        }
        return unnamed;
    }

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
            QTest::mouseClick(In<QPushButton>(about, "cmdOK"), Qt::LeftButton);
        });
        Find<QAction>("mnuAbout")->trigger();  // returns once OK has closed the box
        QCOMPARE(seen_, QStringList({"About Reelvault", "Reelvault", "Version 0.6.5",
                                     "Organize your multimedia collection with this application"}));
    }

    void systemInfoShowsCopyableFactsOrSaysTheyAreUnavailable() {
        frmAbout about(prompts_, window_.get());
        auto* facts = In<QPlainTextEdit>(&about, "txtSysInfo");
        QVERIFY(facts->isHidden());
        QTest::mouseClick(In<QPushButton>(&about, "cmdSysInfo"), Qt::LeftButton);
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
        QTest::mouseClick(In<QPushButton>(&without, "cmdSysInfo"), Qt::LeftButton);
        QCOMPARE(prompts_.Told, QStringList({"Reelvault", "System Information Is Unavailable At This Time"}));
        QVERIFY(In<QPlainTextEdit>(&without, "txtSysInfo")->isHidden());
    }
};

RV_WINDOW_TEST_MAIN(frmAboutTest)
#include "frmAboutTest.moc"
