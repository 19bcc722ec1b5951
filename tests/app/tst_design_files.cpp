// Design files in the windows: saved and opened again the boxes, selectors, mode and a following
// calculation are the same; a file that is no design gives one message naming it and leaves the
// window as it was; a failed save leaves the old file byte for byte; the shortcuts, the analysis
// window's menu, drops and the recent list reach them.
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUrl>

#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <memory>
#include <variant>

#include <mirelto/design/design_state.h>
#include <mirelto/design/filter.h>
#include <mirelto/values/value_text.h>

#include "analysis/analysis_window.h"
#include "analysis/tools/analysis_window_optimise.h"
#include "app_test_support.h"
#include "calculator/main_window.h"
#include "design_file.h"
#include "files/file_commands.h"

using namespace Qt::StringLiterals;

using mirelto::TFormMain;

namespace {

const QStringList kBoxes = (u"EditFa EditFo EditQ EditR1 EditR2 EditR3 "
                            u"EditC1 EditC2 EditC3 EditFar EditFor EditQr"_s)
                               .split(u' ');
const QStringList kSelectors =
    u"ComboBoxR1 ComboBoxR2 ComboBoxR3 ComboBoxC1 ComboBoxC2 ComboBoxC3"_s.split(u' ');

using mirelto::test::Texts;

// Everything of the main window a design file or a command could change.
struct WindowState {
    QStringList texts;  // the twelve boxes, then the six selectors
    bool lpf = true;
    bool print = false, copy = false;
    bool operator==(const WindowState&) const = default;
};

}  // namespace

class TestDesignFiles : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<mirelto::test::FakePlatform> platform_;
    std::unique_ptr<TFormMain> form_;
    std::unique_ptr<QTemporaryDir> dir_;

    QString Path(const QString& name) const { return dir_->filePath(name); }

    QString Text(const QString& name) const { return mirelto::test::ShownText(*form_, name); }

    void SetTexts(const Texts& texts) {
        for (auto it = texts.begin(); it != texts.end(); ++it) {
            QWidget* control = mirelto::test::Control(*form_, it.key());
            if (auto* combo = qobject_cast<QComboBox*>(control)) {
                combo->setCurrentText(it.value());
            } else {
                qobject_cast<QLineEdit*>(control)->setText(it.value());
            }
        }
    }

    WindowState State() const {
        WindowState state;
        for (const QString& name : kBoxes + kSelectors) {
            state.texts << Text(name);
        }
        state.lpf = form_->RadioButtonLpf->isChecked();
        state.print = form_->ButtonPrint->isEnabled();
        state.copy = form_->ButtonCopy->isEnabled();
        return state;
    }

    // A fresh main window in place of the one before.
    void NewWindow() {
        form_.reset();
        form_ = std::make_unique<TFormMain>();
        form_->show();
    }

    // Presses 定数計算: the boxes then, and the messages shown.
    QStringList Calculate() {
        platform_->boxes.clear();
        QTest::mouseClick(form_->ButtonCalc, Qt::LeftButton);
        QStringList shown = State().texts;
        for (const auto& box : platform_->boxes) {
            shown << box.text;
        }
        platform_->boxes.clear();
        return shown;
    }

    void WriteBytes(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    QByteArray ReadBytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    }

  private slots:
    void init() {
        mirelto::DesignState = {};
        platform_ = std::make_unique<mirelto::test::FakePlatform>();
        dir_ = std::make_unique<QTemporaryDir>();
        QSettings(u"Mirelto"_s, u"mirelto"_s).clear();
        NewWindow();
    }
    void cleanup() {
        form_.reset();
        platform_.reset();
        dir_.reset();
    }

    void roundTrip_data() {
        QTest::addColumn<bool>("lpf");
        QTest::addColumn<QString>("texts");    // typed, as "name=text|..."
        QTest::addColumn<bool>("calculated");  // 定数計算 before saving

        // clang-format off
        QTest::newRow("LPF calculated") << true << "" << true;
        QTest::newRow("LPF blank R2 R3 unrounded") << true << "EditR2=|EditR3=|ComboBoxC1=∞|ComboBoxC3=inf" << false;
        QTest::newRow("LPF marking codes") << true << "EditR1=4k7|EditR2= 47k |EditR3=1M2|EditFa=2k2" << true;
        QTest::newRow("HPF micro") << false << "EditC1=0.1µ|EditC2=4µ7|EditC3=|EditFa=100|EditFo=120|ComboBoxR2=96" << true;
        QTest::newRow("HPF all blank") << false << "EditFa=" << false;
        QTest::newRow("all cleared") << true << "" << false;
        // clang-format on
    }

    // A window set up as the row says (and calculated); saved; a fresh window that had made a
    // calculation of its own opens the file; the boxes, selectors and mode are as saved,
    // printing and copying are off, and 定数計算 then shows what it showed in the first window.
    void roundTrip() {
        QFETCH(bool, lpf);
        QFETCH(QString, texts);
        QFETCH(bool, calculated);
        (lpf ? form_->RadioButtonLpf : form_->RadioButtonHPF)->setChecked(true);
        if (QString::fromLatin1(QTest::currentDataTag()) == u"all cleared"_s) {
            QTest::mouseClick(form_->ButtonClr, Qt::LeftButton);
        }
        SetTexts(mirelto::test::TextsOf(texts));
        if (calculated) {
            Calculate();
        }
        const WindowState saved = State();
        QVERIFY(form_->Files().SaveTo(Path(u"round.mirelto"_s), form_.get()));
        const QStringList expected = Calculate();

        NewWindow();
        Calculate();
        QVERIFY(form_->ButtonCopy->isEnabled());
        QVERIFY(form_->Files().OpenFile(Path(u"round.mirelto"_s), form_.get()));
        QCOMPARE(platform_->boxes.size(), 0);
        WindowState opened = State();
        QCOMPARE(opened.texts, saved.texts);
        QCOMPARE(opened.lpf, lpf);
        QCOMPARE(mirelto::DesignState.IsLpf, lpf);
        // A result saved is shown again (from the parts as saved), with printing and copying.
        QCOMPARE(opened.print, saved.print);
        QCOMPARE(opened.copy, saved.copy);
        QCOMPARE(form_->ComboBoxC1->isEnabled(), lpf);
        QCOMPARE(form_->ComboBoxR1->isEnabled(), !lpf);
        QCOMPARE(Calculate(), expected);
    }

    // 定数計算 in the row's mode, the best values searched by the row's ranking, the row's
    // candidate applied (適用) and the design saved: the file's six parts are the boxes' texts,
    // each the candidate's value to 1e-12 (not rounded again to the selectors' series), with the
    // result boxes of 伝達関数 on them; opened in a fresh window, the boxes show them unchanged.
    void appliedRowSaves_data() {
        QTest::addColumn<bool>("lpf");
        QTest::addColumn<int>("ranking");
        QTest::addColumn<int>("row");
        // clang-format off
        QTest::newRow("LPF, poles, second") << true << int(mirelto::Ranking::Poles) << 1;
        QTest::newRow("LPF, cutoff, first") << true << int(mirelto::Ranking::Cutoff) << 0;
        QTest::newRow("HPF, response, third") << false << int(mirelto::Ranking::Response) << 2;
        // clang-format on
    }
    void appliedRowSaves() {
        QFETCH(bool, lpf);
        QFETCH(int, ranking);
        QFETCH(int, row);
        (lpf ? form_->RadioButtonLpf : form_->RadioButtonHPF)->setChecked(true);
        Calculate();
        mirelto::TFormAnalysis* window = mirelto::test::OpenAnalysis(*form_);
        QVERIFY(window);
        window->TabAnalysis->setCurrentWidget(window->TabOptimise);
        window->ComboBoxRanking->setCurrentIndex(window->ComboBoxRanking->findData(ranking));
        QTest::mouseClick(window->ButtonOptimiseRun, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return !window->OptimiseTab().IsRunning(); }, 20000));
        QVERIFY(window->OptimiseTab().Rows().size() > std::size_t(row));
        window->TableOptimise->selectRow(row);
        QTest::mouseClick(window->ButtonApplyOptimised, Qt::LeftButton);
        const auto values =
            mirelto::ComponentsOf(window->OptimiseTab().Rows()[std::size_t(row)].circuit);
        const WindowState applied = State();
        QVERIFY(form_->Files().SaveTo(Path(u"applied.mirelto"_s), form_.get()));

        const auto read =
            mirelto::ParseDesignFile(ReadBytes(Path(u"applied.mirelto"_s)).toStdString());
        QVERIFY(std::holds_alternative<mirelto::DesignFile>(read));
        const auto& file = std::get<mirelto::DesignFile>(read);
        QCOMPARE(file.isLpf, lpf);
        for (std::size_t p = 0; p < mirelto::kDesignParts; ++p) {
            const QString text = QString::fromStdString(file.parts[p]);
            QCOMPARE(text, Text(kBoxes[int(p) + 3]));
            QCOMPARE(text, mirelto::PartValueText(values[p]));
            const double saved = mirelto::ParseValue(file.parts[p]);
            QVERIFY2(std::fabs(saved - values[p]) <= 1e-12 * values[p], qPrintable(text));
        }
        for (std::size_t r = 0; r < 3; ++r) {
            QCOMPARE(QString::fromStdString(file.result[r]), Text(kBoxes[int(r) + 9]));
        }
        NewWindow();
        QVERIFY(form_->Files().OpenFile(Path(u"applied.mirelto"_s), form_.get()));
        QCOMPARE(State().texts.mid(3, 6), applied.texts.mid(3, 6));
    }

    void badFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray design =
            R"({"format": "mirelto-design", "version": 1, "mode": "HPF",
 "request": {"fa": "1k", "fo": "1k", "Q": "0.7"},
 "parts": {"R1": "", "R2": "", "R3": "", "C1": "10n", "C2": "", "C3": ""},
 "result": {"fa": "", "fo": "", "Q": ""},
 "series": {"R1": "24", "R2": "24", "R3": "24", "C1": "6", "C2": "6", "C3": "6"}})";
        // clang-format off
        QTest::newRow("empty") << "empty.mirelto" << QByteArray() << "空のファイルです。";
        QTest::newRow("truncated") << "truncated.mirelto" << design.left(100) << "途中で切れています。";
        QTest::newRow("not JSON") << "notes.mirelto" << QByteArray("fa = 1k\n") << "JSON として読めません (3 バイト目)。";
        QTest::newRow("JSON array") << "array.mirelto" << QByteArray("[1, 2]") << "Mirelto の設計ファイルではありません。";
        QTest::newRow("another program's JSON") << "package.mirelto" << QByteArray(R"({"name": "x", "version": "1.0.0"})") << "Mirelto の設計ファイルではありません。";
        QTest::newRow("version 99") << "future.mirelto" << QByteArray(design).replace("\"version\": 1", "\"version\": 99") << "新しい形式 (版 99) で保存されています。この Mirelto が読めるのは版 1 までです。";
        QTest::newRow("text for a number") << "version.mirelto" << QByteArray(design).replace("\"version\": 1", "\"version\": \"1\"") << "「version」は整数でなければなりません。";
        QTest::newRow("number for a text") << "fa.mirelto" << QByteArray(design).replace("\"1k\"", "1000") << "「request.fa」は文字列でなければなりません。";
        QTest::newRow("missing key") << "nomode.mirelto" << QByteArray(design).replace("\"mode\"", "\"node\"") << "「mode」がありません。";
        QTest::newRow("10 MB") << "big.mirelto" << QByteArray(10 * 1024 * 1024, ' ') << "大きすぎます。設計ファイルは 1 MB までです。";
        QTest::newRow("invalid UTF-8") << "latin1.mirelto" << QByteArray(design).replace("10n", "10\xB5") << "UTF-8 のテキストではありません。";
        QTest::newRow("directory") << "folder.mirelto" << QByteArray() << "フォルダーです。設計ファイル (.mirelto) を選んでください。";
        QTest::newRow("unreadable") << "locked.mirelto" << design << "読み取れません (Permission denied)。";
        QTest::newRow("missing file") << "gone.mirelto" << QByteArray() << "ファイルがありません。";
        // clang-format on
    }

    // A window in HPF mode after a calculation, with a file in use; a bad file is opened; one
    // error box over the window naming the file and the problem, and the window, the design
    // record's mode, the file in use and the recent list as they were.
    void badFiles() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        const QString path = Path(name);
        if (tag == u"directory"_s) {
            QVERIFY(QDir().mkdir(path));
        } else if (tag != u"missing file"_s) {
            WriteBytes(path, bytes);
        }
        if (tag == u"unreadable"_s) {
            if (::geteuid() == 0) {
                QSKIP("the superuser reads files without read permission");
            }
            QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        }
        form_->RadioButtonHPF->setChecked(true);
        Calculate();
        QVERIFY(form_->Files().SaveTo(Path(u"in-use.mirelto"_s), form_.get()));
        const WindowState before = State();
        const QStringList recent = form_->Files().RecentFiles();
        QVERIFY(before.print);

        QVERIFY(!form_->Files().OpenFile(path, form_.get()));
        QCOMPARE(platform_->boxes.size(), 1);
        QCOMPARE(platform_->boxes.front().text, name + u" を開けません。\n"_s + reason);
        QCOMPARE(platform_->boxes.front().icon, QMessageBox::Critical);
        QVERIFY(State() == before);
        QVERIFY(!mirelto::DesignState.IsLpf);
        QCOMPARE(form_->Files().CurrentFile(), Path(u"in-use.mirelto"_s));
        QCOMPARE(form_->Files().RecentFiles(), recent);
    }

    void failedSave_data() {
        QTest::addColumn<int>("how");  // 0 read-only folder, 1 full disk, 2 a note too long to open
        QTest::addColumn<QString>("reason");
        // clang-format off
        QTest::newRow("read-only directory") << 0 << u"Permission denied"_s;
        QTest::newRow("disk full (file size limit)") << 1 << u"File too large"_s;
        QTest::newRow("note past the reading limit") << 2 << u"保存すると 1.0 MB になり、開ける大きさ (1 MB) を超えます。メモを短くしてください。"_s;
        // clang-format on
    }

    // A design file in use; the window changed and saved again where writing fails, or with a
    // note that would make a file too large to open; an error box naming the file, the old file
    // byte for byte, nothing else left in its directory.
    void failedSave() {
        QFETCH(int, how);
        QFETCH(QString, reason);
        if (how == 0 && ::geteuid() == 0) {
            QSKIP("the superuser writes into read-only directories");
        }
        const QString folder = Path(u"kept"_s);
        QVERIFY(QDir().mkdir(folder));
        const QString path = folder + u"/design.mirelto"_s;
        QVERIFY(form_->Files().SaveTo(path, form_.get()));
        const QByteArray old = ReadBytes(path);
        form_->EditFa->setText(u"2k"_s);

        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const auto previousSignal = std::signal(SIGXFSZ, SIG_IGN);
        bool saved = true;
        if (how == 0) {
            QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            saved = form_->Files().SaveTo(path, form_.get());
            QFile::setPermissions(
                folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        } else if (how == 1) {
            rlimit small = limit;
            small.rlim_cur = 16;
            ::setrlimit(RLIMIT_FSIZE, &small);
            saved = form_->Files().SaveTo(path, form_.get());
            ::setrlimit(RLIMIT_FSIZE, &limit);
        } else {
            auto* analysis = mirelto::test::OpenAnalysis(*form_);
            QVERIFY(analysis);
            auto* note = analysis->findChild<QPlainTextEdit*>(u"EditNote"_s);
            QVERIFY(note);
            note->setPlainText(QString(1024 * 1024, QLatin1Char('n')));
            saved = form_->Files().SaveTo(path, form_.get());
        }
        std::signal(SIGXFSZ, previousSignal);

        QVERIFY(!saved);
        QCOMPARE(platform_->boxes.size(), 1);
        // The full path and the reason.
        QCOMPARE(platform_->boxes.front().text,
                 path + QStringLiteral(" を保存できません。\n") + reason);
        QCOMPARE(ReadBytes(path), old);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"design.mirelto"_s});
    }

    // The analysis window's settings and the note; saved; a fresh window opens the file before
    // its analysis window exists, then opens that window: the settings and note are there.
    void analysisSettingsRoundTrip() {
        mirelto::TFormAnalysis* analysis = mirelto::test::OpenAnalysis(*form_);
        QVERIFY(analysis);
        analysis->ComboBoxPreset->setCurrentIndex(5);
        analysis->EditFc->setText(u"2k"_s);
        analysis->EditGbw->setText(u"1M"_s);
        analysis->EditTolC2->setText(u"10 %"_s);
        analysis->ComboBoxDistribution->setCurrentIndex(1);
        analysis->SpinTrials->setValue(777);
        analysis->EditSeed->setText(u"42"_s);
        analysis->ComboBoxSteps->setCurrentIndex(2);
        analysis->ComboBoxGivenSeries->setCurrentIndex(3);
        auto* note = analysis->findChild<QPlainTextEdit*>(u"EditNote"_s);
        QVERIFY(note);
        note->setPlainText(u"試作 2\nfor the mixer"_s);
        const mirelto::DesignFile saved = form_->Files().CurrentDesign();
        QVERIFY(saved.analysis);
        QCOMPARE(saved.analysis->tolerance.trials, 777);
        QVERIFY(form_->Files().SaveTo(Path(u"settings.mirelto"_s), form_.get()));

        NewWindow();
        QVERIFY(!form_->AnalysisWindow());
        QVERIFY(form_->Files().OpenFile(Path(u"settings.mirelto"_s), form_.get()));
        analysis = mirelto::test::OpenAnalysis(*form_);
        QVERIFY(analysis);
        QCOMPARE(analysis->ComboBoxPreset->currentIndex(), 5);
        QCOMPARE(analysis->EditGbw->text(), u"1M"_s);
        QCOMPARE(analysis->SpinTrials->value(), 777);
        QCOMPARE(analysis->ComboBoxSteps->currentIndex(), 2);
        QCOMPARE(analysis->ComboBoxGivenSeries->currentIndex(), 3);
        QCOMPARE(analysis->findChild<QPlainTextEdit*>(u"EditNote"_s)->toPlainText(),
                 u"試作 2\nfor the mixer"_s);
        QVERIFY(form_->Files().CurrentDesign() == saved);
    }

    // Ctrl+O, Ctrl+S and Ctrl+Shift+S on the main window: the open dialog opens its answer, the
    // first save asks where, the next writes there without asking, save-as asks again.
    void shortcuts() {
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        platform_->savePath = Path(u"first"_s);
        QTest::keyClick(form_.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(platform_->saveDialogs, 1);
        QVERIFY(QFile::exists(Path(u"first.mirelto"_s)));
        form_->EditFa->setText(u"3k"_s);
        QTest::keyClick(form_->EditQ, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(platform_->saveDialogs, 1);
        QVERIFY(ReadBytes(Path(u"first.mirelto"_s)).contains("\"3k\""));
        platform_->savePath = Path(u"second.mirelto"_s);
        QTest::keyClick(form_.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(platform_->saveDialogs, 2);
        QVERIFY(QFile::exists(Path(u"second.mirelto"_s)));

        // The change to second.mirelto is given up when asked.
        form_->EditFa->setText(QStringLiteral("9k"));
        platform_->openPath = Path(QStringLiteral("first.mirelto"));
        platform_->answer = QMessageBox::Discard;
        QTest::keyClick(form_->EditR1, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(platform_->openDialogs, 1);
        QCOMPARE(form_->EditFa->text(), QStringLiteral("3k"));
        QCOMPARE(platform_->boxes.size(), 1);
        QVERIFY(!ReadBytes(Path(QStringLiteral("second.mirelto"))).contains("\"9k\""));
    }

    // The analysis window's File menu: its three commands with their shortcuts, and the recent
    // list, newest first and at most eight, whose entries open their file.
    void analysisMenuAndRecentList() {
        for (int i = 0; i < 10; ++i) {
            form_->EditFa->setText(QString::number(i + 1) + u"k"_s);
            QVERIFY(form_->Files().SaveTo(Path(u"d%1.mirelto"_s.arg(i)), form_.get()));
        }
        const QStringList recent = form_->Files().RecentFiles();
        QCOMPARE(recent.size(), mirelto::kMostRecentFiles);
        QCOMPARE(recent.front(), Path(u"d9.mirelto"_s));
        QCOMPARE(recent.back(), Path(u"d2.mirelto"_s));

        mirelto::TFormAnalysis* analysis = mirelto::test::OpenAnalysis(*form_);
        QVERIFY(analysis);
        auto* bar = analysis->findChild<QMenuBar*>();
        QVERIFY(bar);
        QMenu* file = bar->actions().front()->menu();
        QStringList shortcuts;
        for (QAction* action : file->actions()) {
            shortcuts << action->shortcut().toString(QKeySequence::PortableText);
        }
        QCOMPARE(shortcuts.mid(0, 3), (QStringList{u"Ctrl+O"_s, u"Ctrl+S"_s, u"Ctrl+Shift+S"_s}));
        auto* menu = analysis->findChild<QMenu*>(u"MenuRecent"_s);
        QVERIFY(menu);
        emit menu->aboutToShow();
        QCOMPARE(menu->actions().size(), mirelto::kMostRecentFiles);
        menu->actions().at(3)->trigger();
        QCOMPARE(form_->EditFa->text(), u"7k"_s);
        QCOMPARE(form_->Files().RecentFiles().front(), Path(u"d6.mirelto"_s));

        platform_->openPath = Path(u"d0.mirelto"_s);
        file->actions().at(0)->trigger();
        QCOMPARE(form_->EditFa->text(), u"1k"_s);
        form_->EditFa->setText(u"5k"_s);
        file->actions().at(1)->trigger();
        QCOMPARE(platform_->saveDialogs, 0);
        QVERIFY(ReadBytes(Path(u"d0.mirelto"_s)).contains("\"5k\""));
    }

    void isolationGuard_data() {
        QTest::addColumn<QString>("written");  // what a settings file in the folder says
        QTest::addColumn<bool>("noticed");
        const QString home = mirelto::test::TestHome();
        // clang-format off
        QTest::newRow("nothing")                   << QString()                                   << false;
        QTest::newRow("another program's path")   << u"recentFiles=/home/u/filter.mirelto"_s     << false;
        QTest::newRow("a file of this run")        << u"recentFiles="_s + home + u"/d.mirelto"_s  << true;
        QTest::newRow("in a folder below")         << u"sub/"_s + home                            << true;
        // clang-format on
    }

    // A settings folder like a user's, with a file saying the row's text; the check each test
    // program makes of the user's own folder at its end notices exactly the files of this run.
    void isolationGuard() {
        QFETCH(QString, written);
        QFETCH(bool, noticed);
        const QString folder = Path(QStringLiteral("Mirelto"));
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/sub")));
        if (written.startsWith(QStringLiteral("sub/"))) {
            WriteBytes(folder + QStringLiteral("/sub/x.conf"), written.mid(4).toUtf8());
        } else if (!written.isEmpty()) {
            WriteBytes(folder + QStringLiteral("/mirelto.conf"), written.toUtf8());
        }
        QCOMPARE(mirelto::test::FolderMentions(folder, mirelto::test::TestHome()), noticed);
    }

    // A design saved goes into the recent list: the design, the settings file written and the
    // test's temporary folders are inside the temporary home, and the user's own settings name
    // no file of this run.
    void settingsStayInTemporaryHome() {
        QVERIFY(form_->Files().SaveTo(Path(QStringLiteral("kept.mirelto")), form_.get()));
        QSettings settings(QStringLiteral("Mirelto"), QStringLiteral("mirelto"));
        settings.sync();
        QVERIFY(!mirelto::test::TestHome().isEmpty());
        QVERIFY2(settings.fileName().startsWith(mirelto::test::TestHome() + QLatin1Char('/')),
                 qPrintable(settings.fileName()));
        QVERIFY(QFile::exists(settings.fileName()));
        QVERIFY(Path(QString()).startsWith(mirelto::test::TestHome() + QLatin1Char('/')));
        QVERIFY(!mirelto::test::RealSettingsFolder().startsWith(mirelto::test::TestHome()));
        QVERIFY(mirelto::test::RealSettingsUntouched());
    }

    // A .mirelto file dragged onto the main window is accepted and opened once dropped; another
    // file is refused.
    void drop() {
        form_->EditFa->setText(u"8k"_s);
        QVERIFY(form_->Files().SaveTo(Path(u"dropped.mirelto"_s), form_.get()));
        form_->EditFa->setText(u"1k"_s);
        platform_->answer = QMessageBox::Discard;  // the change to dropped.mirelto given up
        for (const QString& name : {u"notes.txt"_s, u"dropped.mirelto"_s}) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(Path(name))});
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(form_.get(), &enter);
            QCOMPARE(enter.isAccepted(), name.endsWith(u".mirelto"_s));
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(form_.get(), &drop);
            QCoreApplication::processEvents();
        }
        QCOMPARE(form_->EditFa->text(), u"8k"_s);
        QCOMPARE(platform_->boxes.size(), 1);
    }
};

MIRELTO_QTEST_MAIN(TestDesignFiles)
#include "tst_design_files.moc"
