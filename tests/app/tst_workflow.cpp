// The work around the numbers: unsaved changes (before the design in the windows is set aside
// by 終了, closing the window, Ctrl+O or a recent file, a changed design file asks whether to
// save it; the captions show the file and a change mark; without a file nothing asks and the
// captions stay), designs reopened whole, the recent list kept to files that exist, save
// failures told with the full path and reason, and design files of no standard series refused.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>

#include <memory>

#include <mirelto/design/design_state.h>

#include "analysis/analysis_window.h"
#include "analysis/response/analysis_window_response.h"
#include "analysis/tools/analysis_window_netlist.h"
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

    void wholeDesign_data() {
        QTest::addColumn<QString>("command");  // the button that made the result, if any
        QTest::addColumn<bool>("partTyped");   // C1 typed as 6.5n after 定数計算
        QTest::addColumn<QByteArray>("key");   // what the file says
        // clang-format off
        QTest::newRow("no result")                << S("")         << false << QByteArray();
        QTest::newRow("定数計算")                 << S("定数計算") << false << QByteArray("\"command\": \"constants\"");
        QTest::newRow("定数計算, C1 typed after") << S("定数計算") << true  << QByteArray("\"command\": \"constants\"");
        QTest::newRow("伝達関数 of a typed C1")   << S("伝達関数") << true  << QByteArray("\"command\": \"transfer\"");
        // clang-format on
    }

    // A design calculated as the row says and saved; a fresh window opens it. The result comes
    // back from the parts as saved (C1 stays 6.5n: nothing rounded again) with printing, the
    // same report where the boxes agreed, and the analysis window drawn without a calculation.
    void wholeDesign() {
        QFETCH(QString, command);
        QFETCH(bool, partTyped);
        QFETCH(QByteArray, key);
        QVERIFY(mirelto::test::OpenFreshMainWindow(platform_, form_));
        if (!command.isEmpty()) {
            QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        }
        if (partTyped) {
            form_->EditC1->setText(QStringLiteral("6.5n"));
        }
        if (command == S("伝達関数")) {
            QTest::mouseClick(form_->ButtonTF, Qt::LeftButton);
        }
        const bool result = form_->ButtonPrint->isEnabled();
        QCOMPARE(result, !command.isEmpty());
        const QString report = result ? form_->BuildReport() : QString();
        const QString c1 = form_->EditC1->text();
        const QString path = Path(QStringLiteral("whole.mirelto"));
        QVERIFY(form_->Files().SaveTo(path, form_.get()));
        const QByteArray bytes = ReadBytes(path);
        QCOMPARE(bytes.contains("\"command\""), !key.isEmpty());
        QVERIFY(key.isEmpty() || bytes.contains(key));

        form_.reset();
        platform_.reset();
        QVERIFY(mirelto::test::OpenFreshMainWindow(platform_, form_));
        QVERIFY(form_->Files().OpenFile(path, form_.get()));
        QCOMPARE(platform_->boxes.size(), 0);
        QCOMPARE(form_->ButtonPrint->isEnabled(), result);
        QCOMPARE(form_->EditC1->text(), c1);
        // The result boxes agreed with the parts unless C1 was typed after 定数計算.
        if (result && (command == S("伝達関数") || !partTyped)) {
            QCOMPARE(form_->BuildReport(), report);
        }
        mirelto::TFormAnalysis* analysis = mirelto::test::OpenAnalysis(*form_);
        QVERIFY(analysis);
        const auto drawn = [analysis] { return analysis->TableFigures->rowCount() > 0; };
        QCOMPARE(QTest::qWaitFor(drawn, result ? 5000 : 200), result);
        QVERIFY(!form_->isWindowModified());
    }

    // The best-values tab's ranking chosen; saved; a fresh window opens the file before its
    // analysis window exists: the ranking is the one saved.
    void rankingComesBack() {
        QVERIFY(mirelto::test::OpenFreshMainWindow(platform_, form_));
        mirelto::TFormAnalysis* analysis = mirelto::test::OpenAnalysis(*form_);
        QVERIFY(analysis);
        const int last = analysis->ComboBoxRanking->count() - 1;
        QVERIFY(last > 0);
        analysis->ComboBoxRanking->setCurrentIndex(last);
        const QString path = Path(QStringLiteral("ranked.mirelto"));
        QVERIFY(form_->Files().SaveTo(path, form_.get()));
        QVERIFY(ReadBytes(path).contains("\"ranking\": \"group-delay\""));
        form_.reset();
        platform_.reset();
        QVERIFY(mirelto::test::OpenFreshMainWindow(platform_, form_));
        QVERIFY(form_->Files().OpenFile(path, form_.get()));
        analysis = mirelto::test::OpenAnalysis(*form_);
        QCOMPARE(analysis->ComboBoxRanking->currentIndex(), last);
        QVERIFY(!form_->isWindowModified());
    }

    void recentFiles_data() {
        QTest::addColumn<bool>("goneBeforeMenu");  // else gone after the menu was shown
        QTest::newRow("gone before the menu opens") << true;
        QTest::newRow("gone after, then chosen") << false;
    }

    // Two designs saved, a.mirelto then b.mirelto; a.mirelto removed before or after the recent
    // menu opens. Before: the menu leaves it out, silently. After: choosing it says it has gone
    // and takes it off the list, and the window keeps b.mirelto.
    void recentFiles() {
        QFETCH(bool, goneBeforeMenu);
        QVERIFY(mirelto::test::OpenFreshMainWindow(platform_, form_));
        const QString a = Path(QStringLiteral("a.mirelto"));
        const QString b = Path(QStringLiteral("b.mirelto"));
        QVERIFY(form_->Files().SaveTo(a, form_.get()));
        QVERIFY(form_->Files().SaveTo(b, form_.get()));
        mirelto::TFormAnalysis* analysis = mirelto::test::OpenAnalysis(*form_);
        auto* menu = analysis->findChild<QMenu*>(QStringLiteral("MenuRecent"));
        QVERIFY(menu);
        if (goneBeforeMenu) {
            QVERIFY(QFile::remove(a));
        }
        emit menu->aboutToShow();
        QStringList entries;
        for (const QAction* entry : menu->actions()) {
            entries << entry->text();
        }
        QCOMPARE(entries.size(), goneBeforeMenu ? 1 : 2);
        QVERIFY(entries.front().endsWith(b));
        if (!goneBeforeMenu) {
            QVERIFY(QFile::remove(a));
            menu->actions().at(1)->trigger();
            QCOMPARE(platform_->boxes.size(), 1);
            QCOMPARE(platform_->boxes.front().text,
                     a + S(" はもうありません。最近使ったファイルの一覧から外しました。"));
            QCOMPARE(platform_->boxes.front().caption, S("エラー"));
        } else {
            QCOMPARE(platform_->boxes.size(), 0);
        }
        QCOMPARE(form_->Files().RecentFiles(), QStringList{b});
        QCOMPARE(form_->Files().CurrentFile(), b);
    }

    void saveFailures_data() {
        QTest::addColumn<QString>("what");
        // clang-format off
        QTest::newRow("design")  << S("design");
        QTest::newRow("netlist") << S("netlist");
        QTest::newRow("plot")    << S("plot");
        // clang-format on
    }

    // A calculated design saved as the row says into a folder that does not exist: one error
    // box over the window, captioned エラー, with the file's full path and the system's reason.
    void saveFailures() {
        QFETCH(QString, what);
        QVERIFY(mirelto::test::OpenFreshMainWindow(platform_, form_));
        QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        mirelto::TFormAnalysis* analysis = mirelto::test::OpenAnalysis(*form_);
        QVERIFY(analysis);
        QVERIFY(QTest::qWaitFor([analysis] { return analysis->TableFigures->rowCount() > 0; }));
        const QString suffix = what == S("design")    ? S(".mirelto")
                               : what == S("netlist") ? S(".cir")
                                                      : S(".png");
        const QString path = Path(S("missing/") + what + suffix);
        platform_->savePath = path;
        if (what == S("design")) {
            QVERIFY(!form_->Files().SaveTo(path, form_.get()));
        } else if (what == S("netlist")) {
            analysis->NetlistTab().Save();
        } else {
            analysis->Response().SaveImage();
        }
        QCOMPARE(platform_->boxes.size(), 1);
        QCOMPARE(platform_->boxes.front().caption, S("エラー"));
        QCOMPARE(platform_->boxes.front().text,
                 path + S(" を保存できません。\n") + S("No such file or directory"));
        QVERIFY(!QFile::exists(path));
    }

    void refusedFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("series");  // the C2 selector's text in the file
        QTest::addColumn<QString>("message");
        const QString bad = S("「series.C2」の値が正しくありません。");
        // clang-format off
        QTest::newRow("no name")        << S("")         << S("12")  << S("開くファイルの名前がありません。");
        QTest::newRow("series 7")       << S("s.mirelto") << S("7")    << S("s.mirelto を開けません。\n") + bad;
        QTest::newRow("series 0x18")    << S("s.mirelto") << S("0x18") << S("s.mirelto を開けません。\n") + bad;
        QTest::newRow("series abc")     << S("s.mirelto") << S("abc")  << S("s.mirelto を開けません。\n") + bad;
        QTest::newRow("series 192")     << S("s.mirelto") << S("192")  << QString();
        QTest::newRow("series none")    << S("s.mirelto") << S("∞")    << QString();
        // clang-format on
    }

    // A design file naming the row's series for C2 (or no file name at all, as `mirelto ""`
    // gives); opened: refused with the row's message and the window unchanged, or opened.
    void refusedFiles() {
        QFETCH(QString, name);
        QFETCH(QString, series);
        QFETCH(QString, message);
        QVERIFY(mirelto::test::OpenFreshMainWindow(platform_, form_));
        const QString path = name.isEmpty() ? QString() : Path(name);
        if (!path.isEmpty()) {
            mirelto::DesignFile design = form_->Files().CurrentDesign();
            design.series[4] = series.toStdString();
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray::fromStdString(mirelto::SerialiseDesignFile(design)));
        }
        const QString before = form_->ComboBoxC2->currentText();
        QCOMPARE(form_->Files().OpenFile(path, form_.get()), message.isEmpty());
        if (message.isEmpty()) {
            QCOMPARE(platform_->boxes.size(), 0);
            QCOMPARE(form_->ComboBoxC2->currentText(), series);
        } else {
            QCOMPARE(platform_->boxes.size(), 1);
            QCOMPARE(platform_->boxes.front().text, message);
            QCOMPARE(form_->ComboBoxC2->currentText(), before);
            QVERIFY(form_->Files().CurrentFile().isEmpty());
        }
    }
};

MIRELTO_QTEST_MAIN(TestWorkflow)
#include "tst_workflow.moc"
