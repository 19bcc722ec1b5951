// A careless and hostile user over the real main and analysis windows: seeded random clicks, keys
// and texts (negative, huge, tiny, malformed, 10 000 characters), and a recorded sequence that
// once hung the program. After every action the event loop must answer within a second, no plot
// axis have asked for more than a few ticks, memory stay under a bound and the analysis window
// stay within the screen; a watchdog ends the program
// with the action that hung when one never returns. Message boxes go to the fake desktop, so
// nothing modal blocks the run.
//
// Actions are text lines, so that a failing random run can be replayed as a fixed row:
//   main box NAME := 'TEXT'      select all in the main window's EditNAME and type TEXT
//   main combo NAME 'TEXT'       the text of ComboBoxNAME
//   main button NAME             calc, tf, clr, copy, print, lpf, hpf, help
//   main defaults                the request and part boxes as the window starts
//   open analysis | close analysis
//   analysis tab N               the analysis window's tab N
//   analysis box NAME := 'TEXT'  select all in the analysis window's NAME and type TEXT, Enter
//   analysis button NAME         click that push button if it is enabled
//   analysis click X,Y           a left click at that client point of the analysis window
//   paste 'TEXT' | key NAME      into the focused widget
//   dialog ...                   a box the user closed: the fake desktop never shows one
// 'TEXT' takes \\, \' and \n escapes, and may end in *N for N copies.
//
// MIRELTO_MONKEY_SEEDS (first:count) and MIRELTO_MONKEY_ACTIONS replace the two short seeds by a
// long run.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>

#include <mirelto/design/design_state.h>

#include "analysis/analysis_window.h"
#include "app_test_support.h"
#include "calculator/main_window.h"

using namespace Qt::StringLiterals;

using mirelto::TFormAnalysis;
using mirelto::TFormMain;

namespace {

constexpr int kShortRunActions = 300;
// A hang never answers; the bound only has to sit above an action's real cost. The sanitizer
// build runs unoptimised and several times slower, so it gets more room.
#ifdef MIRELTO_SANITIZED_BUILD
constexpr int kAnswerMilliseconds = 5000;
#else
constexpr int kAnswerMilliseconds = 1000;
#endif
// Far above what the program needs (about 150 MB), far below what a runaway layout takes.
constexpr long kDefaultMemoryLimitMb = 1536;
constexpr int kHangSeconds = 60;  // the watchdog's patience with one action
// A plot's axis has about five ticks; one asked for far more at any moment would hang.
constexpr double kMostTicks = 20;

long MemoryLimitMb() {
    bool ok = false;
    const long limit = qEnvironmentVariableIntValue("MIRELTO_MONKEY_MEMORY_MB", &ok);
    return ok && limit > 0 ? limit : kDefaultMemoryLimitMb;
}

// Ends the program when one action does not return in time: a hang must fail the run, not stall
// it. The action in progress is printed first.
class Watchdog {
  public:
    Watchdog() : thread_([this] { Watch(); }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        thread_.join();
    }
    void Begin(const QString& action) {
        std::lock_guard lock(mutex_);
        action_ = action.left(200).toStdString();
        since_ = std::chrono::steady_clock::now();
        busy_ = true;
    }
    void End() {
        std::lock_guard lock(mutex_);
        busy_ = false;
    }

  private:
    void Watch() {
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            std::lock_guard lock(mutex_);
            if (done_) {
                return;
            }
            if (busy_ &&
                std::chrono::steady_clock::now() - since_ > std::chrono::seconds(kHangSeconds)) {
                std::fprintf(stderr, "FAIL: no answer for %d s during the action: %s\n",
                             kHangSeconds, action_.c_str());
                std::fflush(stderr);
                std::_Exit(1);
            }
        }
    }
    std::mutex mutex_;
    std::string action_;
    std::chrono::steady_clock::time_point since_;
    bool busy_ = false, done_ = false;
    std::thread thread_;
};

// Values a user means: most texts are these, so that calculations succeed and get drawn.
const QStringList& Plausible() {
    static const QStringList words =
        u"1.42k 1k 22k 10k 100k 1M 1 0.7 5 100 6.8n 15n 1n 3.3n 100p 1u 300 50"_s.split(u' ');
    return words;
}

// The hostile texts: what a careless hand types or pastes.
const QStringList& Vocabulary() {
    static const QStringList words = [] {
        QStringList w{QString(),  u" "_s,        u"0"_s,     u"-0"_s,    u"-5"_s,
                      u"-1"_s,    u"0.01"_s,     u"1"_s,     u"1k"_s,    u"4k7"_s,
                      u"22k"_s,   u"1.42k"_s,    u"6.8n"_s,  u"1T"_s,    u"1k"_s,
                      u"1m"_s,    u"100u"_s,     u"1M"_s,    u"1G"_s,    u"1f"_s,
                      u"1e300"_s, u"1e-300"_s,   u"1E999"_s, u"abc"_s,   u"11111111111111111111"_s,
                      u"∞"_s,     u"NaN"_s,      u"inf"_s,   u"-inf"_s,  u"2M2"_s,
                      u"3n3"_s,   u"１２３"_s,   u"1,5"_s,   u"1.2.3"_s, u"1e"_s,
                      u"$FF"_s,   u"100"_s,      u"1000"_s,  u"192"_s,   u"-2147483648"_s,
                      u"\t"_s,    u"\u202e1k"_s, u"\x7f"_s};
        w << QString(10000, QLatin1Char('9')) << QString(10000, QLatin1Char('x'));
        return w;
    }();
    return words;
}

// The text form of a typed text: quoted, with escapes, long repeats as *N.
QString Quoted(const QString& text) {
    if (text.size() > 16 && text == QString(text.size(), text.front())) {
        return Quoted(QString(text.front())) + u"*%1"_s.arg(text.size());
    }
    QString out = u"'"_s;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('\'')) {
            out += QLatin1Char('\\');
        }
        out += c == QLatin1Char('\n') ? u"\\n"_s : QString(c);
    }
    return out + QLatin1Char('\'');
}

// The quoted text of an action line (after `from`), escapes resolved and the repeat applied.
QString Unquoted(const QString& line, qsizetype from) {
    const qsizetype open = line.indexOf(QLatin1Char('\''), from);
    if (open < 0) {
        return {};
    }
    QString text;
    qsizetype i = open + 1;
    for (; i < line.size() && line[i] != QLatin1Char('\''); ++i) {
        if (line[i] == QLatin1Char('\\') && i + 1 < line.size()) {
            ++i;
            text += line[i] == QLatin1Char('n') ? QChar(QLatin1Char('\n')) : line[i];
        } else {
            text += line[i];
        }
    }
    const QString rest = line.mid(i + 1);
    if (rest.startsWith(QLatin1Char('*'))) {
        text = text.repeated(rest.mid(1).toInt());
    }
    return text;
}

const QStringList kMainBoxes = u"Fa Fo Q R1 R2 R3 C1 C2 C3 Far For Qr"_s.split(u' ');
const QStringList kMainCombos = u"R1 R2 R3 C1 C2 C3"_s.split(u' ');
const QStringList kMainButtons = u"calc tf clr copy print lpf hpf help"_s.split(u' ');
const QStringList kAnalysisBoxes =
    u"EditGbw EditFc EditTolR1 EditTolC2 EditSeed SpinTrials"_s.split(u' ');
const QStringList kAnalysisButtons =
    (u"ButtonCopyImage ButtonSaveImage ButtonCopyTable ButtonApply "
     u"ButtonOptimiseRun ButtonOptimiseCancel ButtonApplyOptimised "
     u"ButtonToleranceRun ButtonToleranceCancel ButtonCopyNetlist"_s)
        .split(u' ');
const QStringList kKeys =
    u"Return Escape Tab Up Down Home End space Backspace Delete"_s.split(u' ');

// A random action line; the windows' sizes place the clicks.
QString RandomAction(std::mt19937_64& random) {
    const auto pick = [&random](const QStringList& list) {
        return list[static_cast<qsizetype>(random() % static_cast<std::uint64_t>(list.size()))];
    };
    const auto word = [&] { return Quoted(pick(random() % 3 == 0 ? Vocabulary() : Plausible())); };
    switch (random() % 18) {
        case 0:
        case 1:
        case 2:
            return u"main box %1 := %2"_s.arg(pick(kMainBoxes), word());
        case 3:
            return u"main combo %1 %2"_s.arg(pick(kMainCombos), word());
        case 4:
        case 5:
            return u"main button %1"_s.arg(pick(kMainButtons));
        case 15:
        case 16:
        case 17:
            return u"main button %1"_s.arg(random() % 2 ? u"calc"_s : u"tf"_s);
        case 6:
            return random() % 2
                       ? u"main defaults"_s
                       : u"main box %1 := %2"_s.arg(pick(kMainBoxes), Quoted(pick(Plausible())));
        case 7:
            return random() % 6 == 0 ? u"close analysis"_s : u"open analysis"_s;
        case 8:
            return u"analysis tab %1"_s.arg(random() % 5);
        case 9:
            return u"analysis box %1 := %2"_s.arg(pick(kAnalysisBoxes), word());
        case 10:
        case 11:
            return u"analysis button %1"_s.arg(pick(kAnalysisButtons));
        case 12:
            return u"analysis click %1,%2"_s.arg(random() % 1000).arg(random() % 660);
        case 13:
            return u"paste %1"_s.arg(word());
        default:
            return u"key %1"_s.arg(pick(kKeys));
    }
}

Qt::Key KeyNamed(const QString& name) {
    static const Qt::Key keys[] = {Qt::Key_Return,    Qt::Key_Escape, Qt::Key_Tab, Qt::Key_Up,
                                   Qt::Key_Down,      Qt::Key_Home,   Qt::Key_End, Qt::Key_Space,
                                   Qt::Key_Backspace, Qt::Key_Delete};
    static_assert(std::size(keys) == 10);
    const qsizetype index = kKeys.indexOf(name);
    return index < 0 ? Qt::Key_unknown : keys[index];
}

// Text the keyboard types key by key: short, printable ASCII.
bool Typeable(const QString& text) {
    return text.size() <= 40 && std::all_of(text.begin(), text.end(), [](QChar c) {
               return c.unicode() >= 0x20 && c.unicode() < 0x7f;
           });
}

// Replaces the text of a line edit as a user does: select all, type.
void TypeInto(QWidget* widget, const QString& text) {
    if (!widget) {
        return;
    }
    widget->setFocus();
    if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
        spin->selectAll();
        if (Typeable(text)) {
            QTest::keyClicks(spin, text);
        }
        return;
    }
    auto* edit = qobject_cast<QLineEdit*>(widget);
    if (!edit) {
        return;
    }
    edit->selectAll();
    // Other texts arrive as a paste or an input method gives them, at once.
    if (!Typeable(text)) {
        edit->insert(text);
    } else {
        QTest::keyClicks(edit, text);
    }
}

}  // namespace

class TestMonkey : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<mirelto::test::FakePlatform> platform_;
    std::unique_ptr<TFormMain> form_;
    Watchdog watchdog_;
    int widestAnalysis_ = 0;
    int firstAnalysisWidth_ = 0;  // as first shown: wider than a small screen, perhaps
    std::unique_ptr<mirelto::test::TickWatch> ticks_;  // on the analysis window's plots

    TFormAnalysis* Analysis() const { return form_->AnalysisWindow(); }

    QWidget* MainControl(const QString& prefix, const QString& name) const {
        return form_->findChild<QWidget*>(prefix + name);
    }

    void Run(const QString& action) {
        const QStringList words = action.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() < 2) {
            return;
        }
        const QString& what = words[0];
        if (what == QLatin1String("main") && words[1] == QLatin1String("box")) {
            TypeInto(MainControl(u"Edit"_s, words.value(2)),
                     Unquoted(action, action.indexOf(u":="_s)));
        } else if (what == QLatin1String("main") && words[1] == QLatin1String("combo")) {
            if (auto* combo =
                    qobject_cast<QComboBox*>(MainControl(u"ComboBox"_s, words.value(2)))) {
                combo->setFocus();
                combo->setEditText(Unquoted(action, 0));
            }
        } else if (what == QLatin1String("main") && words[1] == QLatin1String("button")) {
            PressMain(words.value(2));
        } else if (what == QLatin1String("main") && words[1] == QLatin1String("defaults")) {
            // A user starting over: the texts the window starts with.
            const QStringList texts{u"1.42k"_s, u"1.42k"_s, u"1.0"_s,  u"22k"_s, QString(),
                                    QString(),  u"3.3n"_s,  QString(), QString()};
            for (int i = 0; i < texts.size(); ++i) {
                TypeInto(MainControl(u"Edit"_s, kMainBoxes[i]), texts[i]);
            }
        } else if (what == QLatin1String("open")) {
            mirelto::test::OpenAnalysis(*form_);
        } else if (what == QLatin1String("close")) {
            if (Analysis()) {
                Analysis()->close();
            }
        } else if (what == QLatin1String("analysis") && Analysis() && Analysis()->isVisible()) {
            RunInAnalysis(words, action);
        } else if (what == QLatin1String("paste")) {
            if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
                edit->insert(Unquoted(action, 0));
            }
        } else if (what == QLatin1String("key")) {
            if (QWidget* focus = QApplication::focusWidget()) {
                QTest::keyClick(focus, KeyNamed(words[1]));
            }
        }
    }

    void PressMain(const QString& name) {
        static const QHash<QString, QString> controls{
            {u"calc"_s, u"ButtonCalc"_s},    {u"tf"_s, u"ButtonTF"_s},
            {u"clr"_s, u"ButtonClr"_s},      {u"copy"_s, u"ButtonCopy"_s},
            {u"print"_s, u"ButtonPrint"_s},  {u"lpf"_s, u"RadioButtonLpf"_s},
            {u"hpf"_s, u"RadioButtonHPF"_s}, {u"help"_s, u"Label19"_s}};
        QWidget* control = form_->findChild<QWidget*>(controls.value(name));
        if (control && control->isEnabled()) {
            QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
        }
    }

    void RunInAnalysis(const QStringList& words, const QString& action) {
        TFormAnalysis& window = *Analysis();
        const QString& what = words[1];
        if (what == QLatin1String("tab")) {
            window.TabAnalysis->setCurrentIndex(words.value(2).toInt());
        } else if (what == QLatin1String("box")) {
            QWidget* box = window.findChild<QWidget*>(words.value(2));
            if (box && box->isVisible()) {
                TypeInto(box, Unquoted(action, action.indexOf(u":="_s)));
                QTest::keyClick(box, Qt::Key_Return);
            }
        } else if (what == QLatin1String("button")) {
            auto* button = window.findChild<QPushButton*>(words.value(2));
            if (button && button->isVisible() && button->isEnabled()) {
                QTest::mouseClick(button, Qt::LeftButton);
            }
        } else if (what == QLatin1String("click")) {
            const QStringList xy = words.value(2).split(QLatin1Char(','));
            const QPoint point(std::clamp(xy.value(0).toInt(), 0, window.width() - 1),
                               std::clamp(xy.value(1).toInt(), 0, window.height() - 1));
            QWidget* target = window.childAt(point);
            if (!target) {
                target = &window;
            }
            QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&window, point));
        }
    }

    // One action, then the checks; false (with a message) when one fails.
    bool Step(int index, const QString& action, QString& failure) {
        watchdog_.Begin(action);
        if (ticks_) {
            ticks_->Reset();
        }
        QElapsedTimer clock;
        clock.start();
        Run(action);
        // Answered: a call posted now runs once everything the action queued has run.
        bool answered = false;
        QTimer::singleShot(0, form_.get(), [&answered] { answered = true; });
        answered = QTest::qWaitFor([&answered] { return answered; }, 10 * kAnswerMilliseconds);
        const qint64 elapsed = clock.elapsed();
        watchdog_.End();
        // The fake desktop's records are the test's, not the program's: keep them from growing.
        platform_->boxes.clear();
        platform_->copied.clear();
        platform_->copiedImages.clear();
        const long resident = mirelto::test::ResidentKb() / 1024;
        if (!ticks_ && Analysis()) {
            ticks_ = std::make_unique<mirelto::test::TickWatch>(*Analysis());
        }
        const double ticks = ticks_ ? ticks_->MostTicks() : 0;
        if (Analysis() && Analysis()->isVisible()) {
            const int width = Analysis()->frameGeometry().width();
            if (firstAnalysisWidth_ == 0) {
                firstAnalysisWidth_ = width;
            }
            widestAnalysis_ = std::max(widestAnalysis_, width);
        }
        const int screenWidth = form_->screen()->availableGeometry().width();
        const int firstWidth = firstAnalysisWidth_;
        if (!answered || elapsed > kAnswerMilliseconds) {
            failure = u"action %1 answered after %2 ms"_s.arg(index).arg(elapsed);
        } else if (ticks > kMostTicks) {
            failure = u"action %1: an axis asked for %2 ticks"_s.arg(index).arg(ticks);
        } else if (resident > MemoryLimitMb()) {
            failure = u"action %1: %2 MB resident"_s.arg(index).arg(resident);
        } else if (widestAnalysis_ > std::max(firstWidth, screenWidth)) {
            failure =
                u"action %1: the analysis window grew to %2 px"_s.arg(index).arg(widestAnalysis_);
        }
        if (!failure.isEmpty()) {
            failure += u": "_s + action.left(200);
        }
        return failure.isEmpty();
    }

  private slots:
    void init() {
        mirelto::DesignState.ResultValid = false;
        platform_ = std::make_unique<mirelto::test::FakePlatform>();
        form_ = std::make_unique<TFormMain>();
        form_->move(100, 100);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        widestAnalysis_ = firstAnalysisWidth_ = 0;
    }
    // Destroying the main window stops the analysis window's runs, whatever state the run left.
    void cleanup() {
        ticks_.reset();
        form_.reset();
        platform_.reset();
    }

    // A recorded sequence or a seed; each action and its checks, in order.
    void actions_data() {
        QTest::addColumn<QStringList>("actions");
        QFile recorded(QStringLiteral(MIRELTO_MONKEY_HANG_FILE));
        QVERIFY(recorded.open(QIODevice::ReadOnly | QIODevice::Text));
        QStringList hang;
        for (const QString& line : QString::fromUtf8(recorded.readAll()).split(QLatin1Char('\n'))) {
            if (!line.trimmed().isEmpty() && !line.startsWith(QLatin1Char('#'))) {
                hang << line.trimmed();
            }
        }
        QCOMPARE(hang.size(), 25);
        QTest::newRow("recorded hang") << hang;

        std::uint64_t first = 1, seeds = 2;
        int count = kShortRunActions;
        const QString range = qEnvironmentVariable("MIRELTO_MONKEY_SEEDS");
        if (!range.isEmpty()) {
            first = range.section(QLatin1Char(':'), 0, 0).toULongLong();
            seeds = std::max<std::uint64_t>(1, range.section(QLatin1Char(':'), 1, 1).toULongLong());
            count = std::max(1, qEnvironmentVariableIntValue("MIRELTO_MONKEY_ACTIONS"));
        }
        for (std::uint64_t seed = first; seed < first + seeds; ++seed) {
            std::mt19937_64 random(seed);
            QStringList actions;
            for (int i = 0; i < count; ++i) {
                actions << RandomAction(random);
            }
            QTest::addRow("seed %llu, %d actions", static_cast<unsigned long long>(seed), count)
                << actions;
        }
    }
    void actions() {
        QFETCH(QStringList, actions);
        QElapsedTimer clock;
        clock.start();
        const long before = mirelto::test::ResidentKb() / 1024;
        for (int i = 0; i < actions.size(); ++i) {
            QString failure;
            if (!Step(i, actions[i], failure)) {
                for (int k = std::max(0, i - 30); k <= i; ++k) {
                    qInfo("%d: %s", k, qPrintable(actions[k].left(200)));
                }
                QFAIL(qPrintable(failure));
            }
        }
        qInfo("%lld actions in %lld ms, resident %ld MB before, %ld MB after",
              static_cast<long long>(actions.size()), static_cast<long long>(clock.elapsed()),
              before, mirelto::test::ResidentKb() / 1024);
    }
};

MIRELTO_QTEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
