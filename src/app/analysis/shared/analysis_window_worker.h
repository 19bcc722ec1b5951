// Long computations of the analysis window off the user-interface thread: one run at a time on a
// thread of its own, stopped through the core's RunControl, its progress and its result handed
// back to this object's thread by queued calls. The worker never touches a widget, and this
// object waits for its thread before it goes, so nothing the worker posts can reach a receiver
// that is gone. Also the few pieces the tool tabs share: the run controls, the status line and
// the reading of a box's text.
#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>

#include <mirelto/tools/input_problem.h>
#include <mirelto/tools/run_control.h>

#include "desktop/value_text_qt.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace mirelto {

class BackgroundRun : public QObject {
    Q_OBJECT

  public:
    // What to do with a run's result; called on this object's thread once the run has ended.
    using Continuation = std::function<void()>;
    // The run itself, on the worker thread: it passes `control` to the core and returns what to
    // do with the result. It must keep to its own copies of its input.
    using Work = std::function<Continuation(const RunControl& control)>;

    // Progress reaches the user-interface thread at most this often, plus the final report:
    // often enough for a smooth bar, rarely enough not to flood the event queue.
    static constexpr std::chrono::milliseconds kProgressInterval{50};
    // The progress signal's scale.
    static constexpr int kProgressScale = 1000;

    explicit BackgroundRun(QObject* parent);
    ~BackgroundRun() override;
    BackgroundRun(const BackgroundRun&) = delete;
    BackgroundRun& operator=(const BackgroundRun&) = delete;

    // Starts `work` on a new thread, after stopping a run still going. Whatever it throws
    // reaches `failed` with its text instead of its continuation.
    void Start(Work work, std::function<void(const QString& text)> failed);
    // Asks the run to stop; returns at once. The run ends as the core ends a cancelled run, and
    // its continuation still comes.
    void Cancel();
    // Cancels and waits for the thread; nothing of that run is delivered afterwards.
    void Stop();

    bool IsRunning() const { return running_; }
    bool IsCancelling() const { return running_ && cancel_.load(); }

  signals:
    // Done so far, 0 to kProgressScale, on this object's thread.
    void Progress(int done);

  private:
    void Deliver(std::uint64_t generation, Continuation continuation);
    void Join();

    std::thread thread_;
    std::atomic<bool> cancel_{false};
    // Counts the runs, so a result posted by a stopped run is recognised and dropped.
    std::uint64_t generation_ = 0;
    bool running_ = false;
};

// The controls that show a run: the start and cancel buttons and a progress bar shown only while
// it runs.
struct RunControls {
    QPushButton* start;
    QPushButton* cancel;
    QProgressBar* progress;
};

// Wires the cancel button and the progress bar to `run` and shows the controls idle.
void ConnectRunControls(BackgroundRun& run, const RunControls& controls);
// Shows the controls as running (bar at zero) or idle, the start button enabled when idle and
// `canStart`.
void ShowRunning(const RunControls& controls, bool running, bool canStart = true);

// The status line under the controls: plain, or red for a problem.
void ShowStatus(QLabel& label, const QString& text, bool problem);

// A tool's input problem in the window's words.
QString ProblemText(const Problem& problem);

// A box's text as a message quotes it: at most kQuotedCharacters, the rest as "…".
constexpr int kQuotedCharacters = 40;
QString QuotedInput(const QString& text);

}  // namespace mirelto
