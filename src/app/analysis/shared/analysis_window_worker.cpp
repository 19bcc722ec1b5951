#include "analysis/shared/analysis_window_worker.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>

#include <exception>
#include <string_view>
#include <utility>

#include <mirelto/tools/optimise.h>
#include <mirelto/tools/tolerance.h>
#include <mirelto/values/value_text.h>

namespace mirelto {

BackgroundRun::BackgroundRun(QObject* parent) : QObject(parent) {}

BackgroundRun::~BackgroundRun() {
    Stop();
}

void BackgroundRun::Start(Work work, std::function<void(const QString& text)> failed) {
    Stop();
    cancel_ = false;
    running_ = true;
    const std::uint64_t generation = ++generation_;
    thread_ = std::thread([this, generation, work = std::move(work), failed = std::move(failed)] {
        using Clock = std::chrono::steady_clock;
        RunControl control;
        control.cancel = &cancel_;
        control.progress = [this, generation, last = Clock::time_point()](
                               std::int64_t done, std::int64_t total) mutable {
            const Clock::time_point now = Clock::now();
            if (total <= 0 || (done < total && now - last < kProgressInterval)) {
                return;
            }
            last = now;
            const auto scaled = static_cast<int>(static_cast<double>(done) /
                                                 static_cast<double>(total) * kProgressScale);
            // Posted, never called: the receiver lives on the user-interface thread. It is valid
            // here because it waits for this thread before it goes.
            QMetaObject::invokeMethod(
                this,
                [this, generation, scaled] {
                    if (generation == generation_ && running_) {
                        emit Progress(scaled);
                    }
                },
                Qt::QueuedConnection);
        };
        Continuation continuation;
        try {
            continuation = work(control);
        } catch (const std::exception& error) {
            continuation = [failed, text = QString::fromUtf8(error.what())] { failed(text); };
        } catch (...) {
            continuation = [failed] { failed(QStringLiteral("Unknown error")); };
        }
        Deliver(generation, std::move(continuation));
    });
}

void BackgroundRun::Deliver(std::uint64_t generation, Continuation continuation) {
    QMetaObject::invokeMethod(
        this,
        [this, generation, continuation = std::move(continuation)] {
            if (generation != generation_) {
                return;
            }
            // The worker posts this as its last act: the join returns at once.
            Join();
            running_ = false;
            if (continuation) {
                continuation();
            }
        },
        Qt::QueuedConnection);
}

void BackgroundRun::Cancel() {
    if (running_) {
        cancel_ = true;
    }
}

void BackgroundRun::Stop() {
    cancel_ = true;
    Join();
    if (running_) {
        ++generation_;
        running_ = false;
    }
}

void BackgroundRun::Join() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void ConnectRunControls(BackgroundRun& run, const RunControls& controls) {
    controls.progress->setRange(0, BackgroundRun::kProgressScale);
    QObject::connect(controls.cancel, &QPushButton::clicked, &run, [&run, controls] {
        run.Cancel();
        controls.cancel->setEnabled(false);
    });
    QObject::connect(&run, &BackgroundRun::Progress, controls.progress, &QProgressBar::setValue);
    ShowRunning(controls, false);
}

void ShowRunning(const RunControls& controls, bool running, bool canStart) {
    controls.start->setEnabled(!running && canStart);
    controls.cancel->setEnabled(running);
    controls.progress->setValue(0);
    controls.progress->setVisible(running);
}

QString ProblemText(const Problem& problem) {
    const QString part = QString::fromLatin1(ComponentName(problem.part));
    switch (problem.code) {
        case InputProblem::None:
            break;
        case InputProblem::RequestNotPositive:
            return QCoreApplication::translate("ProblemText",
                                               "fa, fo, Q は正の有限な値にしてください");
        case InputProblem::PartNotPositive:
            return QCoreApplication::translate("ProblemText", "%1 は正の有限な値にしてください")
                .arg(part);
        case InputProblem::NegativeSeries:
            return QCoreApplication::translate("ProblemText", "%1 の系列は 0 以上にしてください")
                .arg(part);
        case InputProblem::NoPreferredValues:
            return QCoreApplication::translate("ProblemText", "%1 の近くに系列の値がありません")
                .arg(part);
        case InputProblem::RoundedOutOfRange:
            return QCoreApplication::translate("ProblemText",
                                               "%1 の丸めた値が探索範囲の外にあります")
                .arg(part);
        case InputProblem::StepsOutOfRange:
            return QCoreApplication::translate("ProblemText", "探索範囲は ±1 から ±%1 ステップです")
                .arg(kMaxSteps);
        case InputProblem::NothingKept:
            return QCoreApplication::translate("ProblemText", "残す候補は 1 つ以上にしてください");
        case InputProblem::ToleranceOutOfRange:
            return QCoreApplication::translate("ProblemText",
                                               "%1 の許容差は 0 以上 %2 % 未満にしてください")
                .arg(part)
                .arg(kMostPercent);
        case InputProblem::NoPoles:
            return QCoreApplication::translate("ProblemText",
                                               "この回路には実極と複素極対がありません");
        case InputProblem::TrialsOutOfRange:
            return QCoreApplication::translate("ProblemText", "試行回数は 1 から %1 です")
                .arg(kMaxTrials);
        case InputProblem::BinsOutOfRange:
            return QCoreApplication::translate("ProblemText",
                                               "ヒストグラムの区間数は 1 から %1 です")
                .arg(kMaxBins);
        case InputProblem::CutoffRangeInvalid:
            return QCoreApplication::translate("ProblemText",
                                               "-3 dB の探索範囲は 0 < 下限 < 上限 にしてください");
    }
    return {};
}

void ShowStatus(QLabel& label, const QString& text, bool problem) {
    label.setText(text);
    label.setStyleSheet(problem ? QStringLiteral("color: #c00000;") : QString());
    label.setVisible(!text.isEmpty());
}

QString QuotedInput(const QString& text) {
    if (text.size() <= kQuotedCharacters) {
        return text;
    }
    return text.left(kQuotedCharacters - 1) + QStringLiteral("…");
}

}  // namespace mirelto
