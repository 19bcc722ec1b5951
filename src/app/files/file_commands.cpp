#include "files/file_commands.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QUrl>

#include <array>
#include <variant>

#include <mirelto/design/design_state.h>
#include <mirelto/tools/presets.h>
#include <mirelto/tools/ranking.h>
#include <mirelto/tools/tolerance.h>

#include "analysis/analysis_window.h"
#include "analysis/response/analysis_window_response.h"
#include "analysis/tools/analysis_window_optimise.h"
#include "calculator/main_window.h"
#include "desktop/error_display.h"
#include "desktop/message_box.h"
#include "desktop/saving.h"

namespace mirelto {

namespace {

const QString kSuffix = QStringLiteral("mirelto");
QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) {
    return text.toStdString();
}

// The single local design file of a drag, if that is what it carries.
QString DroppedDesign(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) {
        return {};
    }
    const QUrl url = data->urls().front();
    if (!url.isLocalFile() || QFileInfo(url.toLocalFile()).suffix().toLower() != kSuffix) {
        return {};
    }
    return url.toLocalFile();
}

int IndexOfData(const QComboBox& box, qint64 value) {
    for (int i = 0; i < box.count(); ++i) {
        if (box.itemData(i).toLongLong() == value) {
            return i;
        }
    }
    return -1;
}

}  // namespace

FileCommands::FileCommands(TFormMain& form)
    : QObject(&form), form_(form), changes_([this] { return CurrentDesign(); }, this) {
    // Shortcuts only: the main window keeps its layout.
    const auto shortcut = [this](const QKeySequence& keys, auto command) {
        auto* key = new QShortcut(keys, &form_);
        connect(key, &QShortcut::activated, this,
                [this, command] { RunGuarded([this, command] { (this->*command)(&form_); }); });
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_O), &FileCommands::Open);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_S), &FileCommands::Save);
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &FileCommands::SaveAs);
    form_.setAcceptDrops(true);
    form_.installEventFilter(this);
    changes_.Watch(form_);
}

QString FileCommands::OpenProblemText(const QString& fileName, const DesignFileError& error) {
    const QString key = FromUtf8(error.key);
    QString reason;
    switch (error.problem) {
        case DesignFileProblem::NotFound:
            reason = tr("ファイルがありません。");
            break;
        case DesignFileProblem::IsDirectory:
            reason = tr("フォルダーです。設計ファイル (.mirelto) を選んでください。");
            break;
        case DesignFileProblem::Unreadable:
            reason = tr("読み取れません (%1)。").arg(FromUtf8(error.reason));
            break;
        case DesignFileProblem::TooLarge:
            reason = tr("大きすぎます。設計ファイルは 1 MB までです。");
            break;
        case DesignFileProblem::Empty:
            reason = tr("空のファイルです。");
            break;
        case DesignFileProblem::NotUtf8:
            reason = tr("UTF-8 のテキストではありません。");
            break;
        case DesignFileProblem::Truncated:
            reason = tr("途中で切れています。");
            break;
        case DesignFileProblem::NotJson:
            reason = tr("JSON として読めません (%1 バイト目)。").arg(error.position);
            break;
        case DesignFileProblem::NotOurs:
            reason = tr("Mirelto の設計ファイルではありません。");
            break;
        case DesignFileProblem::NewerVersion:
            reason = tr("新しい形式 (版 %1) で保存されています。この Mirelto が読めるのは版 %2 "
                        "までです。")
                         .arg(error.position)
                         .arg(kDesignFileVersion);
            break;
        case DesignFileProblem::Missing:
            reason = tr("「%1」がありません。").arg(key);
            break;
        case DesignFileProblem::WrongType: {
            const QString kinds[] = {tr("文字列"), tr("整数"), tr("オブジェクト")};
            reason = tr("「%1」は%2でなければなりません。")
                         .arg(key, kinds[static_cast<int>(error.expected)]);
            break;
        }
        case DesignFileProblem::BadValue:
            reason = tr("「%1」の値が正しくありません。").arg(key);
            break;
    }
    return tr("%1 を開けません。\n%2").arg(fileName, reason);
}

void FileCommands::Fail(const QString& text, QWidget* over) {
    ShowMessageCentered(text, MessageType::Error, QMessageBox::Ok, 0, over ? over : &form_);
}

bool FileCommands::MaySetDesignAside(QWidget* over) {
    switch (changes_.Ask(over ? over : &form_)) {
        case SetAside::Save:
            return SaveTo(current_, over);
        case SetAside::Discard:
            return true;
        case SetAside::Cancel:
            break;
    }
    return false;
}

void FileCommands::OpenAfterAsking(const QString& path, QWidget* over) {
    if (MaySetDesignAside(over)) {
        OpenFile(path, over);
    }
}

void FileCommands::OpenRecent(const QString& path, QWidget* over) {
    if (!QFileInfo::exists(path)) {
        ForgetRecentFile(path);
        Fail(tr("%1 はもうありません。最近使ったファイルの一覧から外しました。")
                 .arg(QDir::toNativeSeparators(path)),
             over);
        return;
    }
    OpenAfterAsking(path, over);
}

void FileCommands::Open(QWidget* over) {
    if (!MaySetDesignAside(over)) {
        return;
    }
    const QString path = CurrentPlatform().GetOpenFileName(
        over, tr("設計ファイルを開く"), QFileInfo(current_).absolutePath(),
        tr("設計ファイル (*.mirelto);;すべてのファイル (*)"));
    if (!path.isEmpty()) {
        OpenFile(path, over);
    }
}

bool FileCommands::OpenFile(const QString& path, QWidget* over) {
    if (path.isEmpty()) {
        Fail(tr("開くファイルの名前がありません。"), over);
        return false;
    }
    const DesignFileRead read = LoadDesignFile(QFile::encodeName(path).toStdString());
    if (const auto* error = std::get_if<DesignFileError>(&read)) {
        Fail(OpenProblemText(QFileInfo(path).fileName(), *error), over);
        return false;
    }
    ShowDesign(std::get<DesignFile>(read));
    current_ = path;
    RememberRecentFile(path);
    changes_.Settled(path);
    return true;
}

void FileCommands::ShowDesign(const DesignFile& design) {
    (design.isLpf ? form_.RadioButtonLpf : form_.RadioButtonHPF)->setChecked(true);
    // Also when the mode stays: printing and copying wait for the next calculation, as in a
    // fresh window.
    form_.SetFilterMode(design.isLpf);
    DesignState.ResultValid = false;
    const std::array<QLineEdit*, 3> request{form_.EditFa, form_.EditFo, form_.EditQ};
    const std::array<QLineEdit*, 3> result{form_.EditFar, form_.EditFor, form_.EditQr};
    const std::array<QLineEdit*, kDesignParts> parts{form_.EditR1, form_.EditR2, form_.EditR3,
                                                     form_.EditC1, form_.EditC2, form_.EditC3};
    const std::array<QComboBox*, kDesignParts> series{form_.ComboBoxR1, form_.ComboBoxR2,
                                                      form_.ComboBoxR3, form_.ComboBoxC1,
                                                      form_.ComboBoxC2, form_.ComboBoxC3};
    for (std::size_t i = 0; i < 3; ++i) {
        request[i]->setText(FromUtf8(design.request[i]));
        result[i]->setText(FromUtf8(design.result[i]));
    }
    for (std::size_t i = 0; i < kDesignParts; ++i) {
        parts[i]->setText(FromUtf8(design.parts[i]));
        series[i]->setCurrentText(FromUtf8(design.series[i]));
    }
    TFormAnalysis* analysis = form_.AnalysisWindow();
    if (!analysis) {
        if (design.analysis) {
            keptSettings_ = design.analysis;
        }
        keptNote_ = FromUtf8(design.note);
    } else {
        if (design.analysis) {
            ApplyAnalysisSettings(*analysis, *design.analysis);
        }
        noteEdit_->setPlainText(FromUtf8(design.note));
        analysis->OptimiseTab().InputChanged();
    }
    if (design.command != ResultCommand::Unknown) {
        form_.ShowSavedResult(design.command == ResultCommand::Constants);
    }
}

DesignFile FileCommands::CurrentDesign() const {
    DesignFile design;
    design.isLpf = form_.RadioButtonLpf->isChecked();
    design.request = {ToUtf8(form_.EditFa->text()), ToUtf8(form_.EditFo->text()),
                      ToUtf8(form_.EditQ->text())};
    design.result = {ToUtf8(form_.EditFar->text()), ToUtf8(form_.EditFor->text()),
                     ToUtf8(form_.EditQr->text())};
    if (DesignState.ResultValid) {
        design.command =
            DesignState.ConstantMode ? ResultCommand::Constants : ResultCommand::TransferFunction;
    }
    design.parts = {ToUtf8(form_.EditR1->text()), ToUtf8(form_.EditR2->text()),
                    ToUtf8(form_.EditR3->text()), ToUtf8(form_.EditC1->text()),
                    ToUtf8(form_.EditC2->text()), ToUtf8(form_.EditC3->text())};
    design.series = {
        ToUtf8(form_.ComboBoxR1->currentText()), ToUtf8(form_.ComboBoxR2->currentText()),
        ToUtf8(form_.ComboBoxR3->currentText()), ToUtf8(form_.ComboBoxC1->currentText()),
        ToUtf8(form_.ComboBoxC2->currentText()), ToUtf8(form_.ComboBoxC3->currentText())};
    if (const TFormAnalysis* analysis = form_.AnalysisWindow(); analysis && noteEdit_) {
        design.analysis = AnalysisSettingsShown(*analysis);
        design.note = ToUtf8(noteEdit_->toPlainText());
    } else {
        design.analysis = keptSettings_;
        design.note = ToUtf8(keptNote_);
    }
    return design;
}

bool FileCommands::Save(QWidget* over) {
    return current_.isEmpty() ? SaveAs(over) : SaveTo(current_, over);
}

bool FileCommands::SaveAs(QWidget* over) {
    QString filter = tr("設計ファイル (*.mirelto)");
    const QString suggested = current_.isEmpty() ? QStringLiteral("design.mirelto") : current_;
    QString path = CurrentPlatform().GetSaveFileName(over, tr("設計ファイルを保存"), suggested,
                                                     filter, &filter);
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QLatin1Char('.') + kSuffix;
    }
    return SaveTo(path, over);
}

bool FileCommands::SaveTo(const QString& path, QWidget* over) {
    const std::string bytes = SerialiseDesignFile(CurrentDesign());
    const QString reason =
        SaveWhole(path, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!reason.isEmpty()) {
        ShowSaveFailure(path, reason, over ? over : &form_);
        return false;
    }
    current_ = path;
    RememberRecentFile(path);
    changes_.Settled(path);
    return true;
}

void FileCommands::FillRecentMenu(QMenu& menu, QWidget* over) {
    menu.clear();
    const QStringList recent = DropGoneRecentFiles();
    for (int i = 0; i < recent.size(); ++i) {
        const QString path = recent[i];
        QAction* action = menu.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
        connect(action, &QAction::triggered, this,
                [this, path, over] { RunGuarded([this, path, over] { OpenRecent(path, over); }); });
    }
    if (recent.isEmpty()) {
        menu.addAction(tr("(なし)"))->setEnabled(false);
    }
}

void FileCommands::AnalysisWindowMade(TFormAnalysis& analysis) {
    // Settings the file did not hold take the window's defaults: no change of the design.
    const bool unchanged = !changes_.Changed();
    auto* bar = new QMenuBar(&analysis);
    QMenu* file = bar->addMenu(tr("ファイル(&F)"));
    const auto add = [&](const QString& text, const QKeySequence& keys, auto command) {
        QAction* action = file->addAction(text);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, [this, command, &analysis] {
            RunGuarded([this, command, &analysis] { (this->*command)(&analysis); });
        });
    };
    add(tr("開く(&O)..."), QKeySequence(Qt::CTRL | Qt::Key_O), &FileCommands::Open);
    add(tr("上書き保存(&S)"), QKeySequence(Qt::CTRL | Qt::Key_S), &FileCommands::Save);
    add(tr("名前を付けて保存(&A)..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
        &FileCommands::SaveAs);
    QMenu* recent = file->addMenu(tr("最近使ったファイル(&R)"));
    recent->setObjectName(QStringLiteral("MenuRecent"));
    connect(recent, &QMenu::aboutToShow, this,
            [this, recent, &analysis] { FillRecentMenu(*recent, &analysis); });
    FillRecentMenu(*recent, &analysis);
    analysis.layout()->setMenuBar(bar);

    noteEdit_ = new QPlainTextEdit(&analysis);
    noteEdit_->setObjectName(QStringLiteral("EditNote"));
    noteEdit_->setPlaceholderText(tr("設計のメモ (設計ファイルに保存されます)"));
    noteEdit_->setPlainText(keptNote_);
    analysis.TabAnalysis->addTab(noteEdit_, tr("メモ"));
    if (keptSettings_) {
        ApplyAnalysisSettings(analysis, *keptSettings_);
        keptSettings_.reset();
    }
    changes_.Watch(analysis);
    if (unchanged) {
        changes_.Reshown();
    }
}

void FileCommands::ApplyAnalysisSettings(TFormAnalysis& analysis,
                                         const AnalysisSettings& settings) {
    const std::vector<Preset>& presets = Presets();
    for (std::size_t i = 0; i < presets.size(); ++i) {
        if (presets[i].name == settings.preset.response) {
            analysis.ComboBoxPreset->setCurrentIndex(static_cast<int>(i));
        }
    }
    analysis.EditFc->setText(FromUtf8(settings.preset.fc));
    analysis.Response().SetOpAmpGbwText(FromUtf8(settings.opAmpGbw));
    const std::array<QLineEdit*, kDesignParts> tolerances{analysis.EditTolR1, analysis.EditTolR2,
                                                          analysis.EditTolR3, analysis.EditTolC1,
                                                          analysis.EditTolC2, analysis.EditTolC3};
    for (std::size_t i = 0; i < kDesignParts; ++i) {
        tolerances[i]->setText(FromUtf8(settings.tolerance.tolerances[i]));
    }
    analysis.ComboBoxDistribution->setCurrentIndex(
        IndexOfData(*analysis.ComboBoxDistribution,
                    static_cast<int>(settings.tolerance.normal ? Distribution::Normal
                                                               : Distribution::Uniform)));
    analysis.SpinTrials->setValue(static_cast<int>(settings.tolerance.trials));
    analysis.EditSeed->setText(FromUtf8(settings.tolerance.seed));
    analysis.ComboBoxSteps->setCurrentIndex(
        IndexOfData(*analysis.ComboBoxSteps, settings.optimiser.steps));
    analysis.ComboBoxGivenSeries->setCurrentIndex(
        IndexOfData(*analysis.ComboBoxGivenSeries, settings.optimiser.givenSeries));
    if (const std::optional<Ranking> ranking = ParseRanking(settings.ranking)) {
        analysis.ComboBoxRanking->setCurrentIndex(
            IndexOfData(*analysis.ComboBoxRanking, static_cast<int>(*ranking)));
    }
}

AnalysisSettings FileCommands::AnalysisSettingsShown(const TFormAnalysis& analysis) const {
    AnalysisSettings settings;
    const int preset = analysis.ComboBoxPreset->currentIndex();
    if (preset >= 0 && static_cast<std::size_t>(preset) < Presets().size()) {
        settings.preset.response = std::string(Presets()[static_cast<std::size_t>(preset)].name);
    }
    settings.preset.fc = ToUtf8(analysis.EditFc->text());
    settings.opAmpGbw = ToUtf8(analysis.EditGbw->text());
    const std::array<const QLineEdit*, kDesignParts> tolerances{
        analysis.EditTolR1, analysis.EditTolR2, analysis.EditTolR3,
        analysis.EditTolC1, analysis.EditTolC2, analysis.EditTolC3};
    for (std::size_t i = 0; i < kDesignParts; ++i) {
        settings.tolerance.tolerances[i] = ToUtf8(tolerances[i]->text());
    }
    settings.tolerance.normal = analysis.ComboBoxDistribution->currentData().toInt() ==
                                static_cast<int>(Distribution::Normal);
    settings.tolerance.trials = analysis.SpinTrials->value();
    settings.tolerance.seed = ToUtf8(analysis.EditSeed->text());
    settings.optimiser.steps = analysis.ComboBoxSteps->currentData().toLongLong();
    settings.optimiser.givenSeries = analysis.ComboBoxGivenSeries->currentData().toLongLong();
    settings.ranking = std::string(
        RankingName(static_cast<Ranking>(analysis.ComboBoxRanking->currentData().toInt())));
    return settings;
}

bool FileCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &form_ && event->type() == QEvent::DragEnter) {
        auto* drag = static_cast<QDragEnterEvent*>(event);
        if (!DroppedDesign(drag->mimeData()).isEmpty()) {
            drag->acceptProposedAction();
        }
        return true;
    }
    if (watched == &form_ && event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = DroppedDesign(drop->mimeData());
        if (!path.isEmpty()) {
            drop->acceptProposedAction();
            // Opened once the drop has ended: a message box must not run inside the drag.
            QMetaObject::invokeMethod(
                this, [this, path] { RunGuarded([this, path] { OpenAfterAsking(path, &form_); }); },
                Qt::QueuedConnection);
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace mirelto
