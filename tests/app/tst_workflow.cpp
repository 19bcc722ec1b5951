// Unsaved changes: before the design in the windows is set aside (終了, closing the window,
// Ctrl+O, a recent file), a design file in use whose design has changed asks whether to save it,
// and the windows' captions show that file and a change mark. Without a design file nothing asks
// and the captions stay as they are.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include <memory>

#include <mirelto/design/design_state.h>

#include "analysis/analysis_window.h"
#include "app_test_support.h"
#include "calculator/main_window.h"
#include "files/file_commands.h"

using mirelto::TFormMain;

namespace {

QString S(const char* text) {
    return QString::fromUtf8(text);
}

const QString kQuestion = S("design.mirelto への変更を保存しますか?");

}  // namespace

Q_DECLARE_METATYPE(QMessageBox::StandardButton)

class TestWorkflow : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<mirelto::test::FakePlatform> platform_;
    std::unique_ptr<TFormMain> form_;
    std::unique_ptr<QTemporaryDir> dir_;
    QString caption_;  // the main window's caption without a file

    QString Path(const QString& name) const { return dir_->filePath(name); }

    QByteArray ReadBytes(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    }

    // A fresh window; "other.mirelto" (fa 7k) in the recent list; with `file`, "design.mirelto"
    // in use; with `changed`, fa set to 2k after that.
    void Prepare(bool file, bool changed) {
        QVERIFY(mirelto::test::OpenFreshMainWindow(platform_, form_));
        caption_ = form_->windowTitle();
        form_->EditFa->setText(QStringLiteral("7k"));
        QVERIFY(form_->Files().SaveTo(Path(QStringLiteral("other.mirelto")), form_.get()));
        form_.reset();
        platform_.reset();
        QVERIFY(mirelto::test::OpenFreshMainWindow(platform_, form_));
        if (file) {
            QVERIFY(form_->Files().SaveTo(Path(QStringLiteral("design.mirelto")), form_.get()));
        }
        if (changed) {
            form_->EditFa->setText(QStringLiteral("2k"));
        }
    }

    // The row's way of setting the design aside; whether it went through.
    bool Act(const QString& action) {
        const QString other = Path(QStringLiteral("other.mirelto"));
        if (action == QStringLiteral("終了")) {
            QTest::mouseClick(form_->ButtonExit, Qt::LeftButton);
            return !form_->isVisible();
        }
        if (action == QStringLiteral("close")) {
            form_->close();
            return !form_->isVisible();
        }
        if (action == QStringLiteral("Ctrl+O")) {
            platform_->openPath = other;
            QTest::keyClick(form_.get(), Qt::Key_O, Qt::ControlModifier);
        } else if (action == QStringLiteral("recent")) {
            mirelto::TFormAnalysis* analysis = mirelto::test::OpenAnalysis(*form_);
            auto* menu = analysis->findChild<QMenu*>(QStringLiteral("MenuRecent"));
            emit menu->aboutToShow();
            for (QAction* entry : menu->actions()) {
                if (entry->text().endsWith(other)) {
                    entry->trigger();
                }
            }
        }
        return form_->Files().CurrentFile() == other;
    }

  private slots:
    void init() {
        mirelto::DesignState = {};
        dir_ = std::make_unique<QTemporaryDir>();
    }
    void cleanup() {
        form_.reset();
        platform_.reset();
        dir_.reset();
    }

    void prompt_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<bool>("file");
        QTest::addColumn<bool>("asks");
        // clang-format off
        for (const char* action : {"終了", "close", "Ctrl+O", "recent"}) {
            const QString name = S(action);
            QTest::addRow("%s, changed, file", action)     << name << true  << true  << true;
            QTest::addRow("%s, changed, no file", action)  << name << true  << false << false;
            QTest::addRow("%s, unchanged, file", action)   << name << false << true  << false;
            QTest::addRow("%s, unchanged, no file", action) << name << false << false << false;
        }
        // clang-format on
    }

    // The window as the row says; the user cancels any question; the row's action. It asks
    // exactly when a design file is in use and has changed, with save, discard and cancel over
    // the window the action came from, and then nothing happens; otherwise it goes through
    // without a box.
    void prompt() {
        QFETCH(QString, action);
        QFETCH(bool, changed);
        QFETCH(bool, file);
        QFETCH(bool, asks);
        Prepare(file, changed);
        platform_->answer = QMessageBox::Cancel;
        const bool done = Act(action);
        QCOMPARE(platform_->boxes.size(), asks ? 1 : 0);
        QCOMPARE(done, !asks);
        if (asks) {
            const mirelto::test::ShownBox& box = platform_->boxes.front();
            QCOMPARE(box.caption, S("確認"));
            QCOMPARE(box.text, kQuestion);
            QCOMPARE(box.icon, QMessageBox::Question);
            QCOMPARE(box.buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
            QCOMPARE(form_->EditFa->text(), QStringLiteral("2k"));
        }
    }

    void answers_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("saveFails");
        QTest::addColumn<bool>("done");
        QTest::addColumn<bool>("saved");
        // clang-format off
        QTest::newRow("終了, save")          << S("終了")   << QMessageBox::Save    << false << true  << true;
        QTest::newRow("終了, discard")       << S("終了")   << QMessageBox::Discard << false << true  << false;
        QTest::newRow("終了, cancel")        << S("終了")   << QMessageBox::Cancel  << false << false << false;
        QTest::newRow("終了, save fails")    << S("終了")   << QMessageBox::Save    << true  << false << false;
        QTest::newRow("Ctrl+O, save")        << S("Ctrl+O") << QMessageBox::Save    << false << true  << true;
        QTest::newRow("Ctrl+O, discard")     << S("Ctrl+O") << QMessageBox::Discard << false << true  << false;
        QTest::newRow("recent, save fails")  << S("recent") << QMessageBox::Save    << true  << false << false;
        // clang-format on
    }

    // A changed design file; the row's action and answer. Save writes the file and goes on,
    // discard goes on and leaves the file as it was, cancel stays; a save that fails says so
    // and stays.
    void answers() {
        QFETCH(QString, action);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, saveFails);
        QFETCH(bool, done);
        QFETCH(bool, saved);
        Prepare(true, true);
        const QString path = Path(QStringLiteral("design.mirelto"));
        if (saveFails) {
            // A folder where the file was: nothing can be written there.
            QVERIFY(QFile::remove(path));
            QVERIFY(QDir().mkdir(path));
        }
        platform_->answer = answer;
        QCOMPARE(Act(action), done);
        QCOMPARE(platform_->boxes.size(), saveFails ? 2 : 1);
        if (saveFails) {
            QCOMPARE(platform_->boxes.back().icon, QMessageBox::Critical);
        } else {
            QCOMPARE(ReadBytes(path).contains("\"fa\": \"2k\""), saved);
        }
    }

    void captions_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("changed");
        // clang-format off
        QTest::newRow("nothing")                   << S("")          << false;
        QTest::newRow("a box typed")               << S("box")       << true;
        QTest::newRow("a box typed back")          << S("box back")  << false;
        QTest::newRow("a series")                  << S("series")    << true;
        QTest::newRow("the mode")                  << S("mode")      << true;
        QTest::newRow("定数計算")                  << S("calculate") << true;
        QTest::newRow("analysis window opened")    << S("analysis")  << false;
        QTest::newRow("tolerance trials")          << S("trials")    << true;
        QTest::newRow("the note")                  << S("note")      << true;
        // clang-format on
    }

    // A design file in use; the row's change. Both windows' captions name the file before
    // their own caption, with the change mark exactly when the design differs from the file;
    // saving again clears the mark.
    void captions() {
        QFETCH(QString, change);
        QFETCH(bool, changed);
        Prepare(false, false);
        QCOMPARE(form_->windowTitle(), caption_);
        QTest::keyClicks(form_->EditFa, QStringLiteral("9"));
        QCOMPARE(form_->windowTitle(), caption_);  // no file: as it always was
        QVERIFY(!form_->isWindowModified());
        QVERIFY(form_->Files().SaveTo(Path(QStringLiteral("design.mirelto")), form_.get()));
        mirelto::TFormAnalysis* analysis = nullptr;
        if (change == QStringLiteral("box")) {
            QTest::keyClicks(form_->EditQ, QStringLiteral("5"));
        } else if (change == QStringLiteral("box back")) {
            QTest::keyClicks(form_->EditQ, QStringLiteral("5"));
            QTest::keyClick(form_->EditQ, Qt::Key_Backspace);
        } else if (change == QStringLiteral("series")) {
            form_->ComboBoxC2->setCurrentIndex(form_->ComboBoxC2->currentIndex() + 1);
        } else if (change == QStringLiteral("mode")) {
            QTest::mouseClick(form_->RadioButtonHPF, Qt::LeftButton);
        } else if (change == QStringLiteral("calculate")) {
            QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        } else if (!change.isEmpty()) {
            analysis = mirelto::test::OpenAnalysis(*form_);
            QVERIFY(analysis);
            if (change == QStringLiteral("trials")) {
                analysis->SpinTrials->setValue(analysis->SpinTrials->value() + 1);
            } else if (change == QStringLiteral("note")) {
                QTest::keyClicks(analysis->findChild<QPlainTextEdit*>(QStringLiteral("EditNote")),
                                 QStringLiteral("x"));
            }
        }
        QCOMPARE(form_->windowTitle(), QStringLiteral("design.mirelto[*] - ") + caption_);
        QCOMPARE(form_->isWindowModified(), changed);
        if (analysis) {
            QVERIFY(analysis->windowTitle().startsWith(QStringLiteral("design.mirelto[*] - ")));
            QCOMPARE(analysis->isWindowModified(), changed);
        }
        QVERIFY(form_->Files().Save(form_.get()));
        QVERIFY(!form_->isWindowModified());
        QCOMPARE(platform_->boxes.size(), 0);
    }
};

MIRELTO_QTEST_MAIN(TestWorkflow)
#include "tst_workflow.moc"
