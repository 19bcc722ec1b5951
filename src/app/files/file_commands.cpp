#include "files/file_commands.h"
#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QUrl>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <variant>

#include <mirelto/values/eseries.h>

#include "analysis/analysis_settings.h"
#include "analysis/analysis_window.h"
#include "analysis/tools/analysis_window_optimise.h"
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

}  // namespace

FileCommands::FileCommands(DesignSource& source)
    : QObject(&source.Window()),
      source_(source),
      form_(source.Window()),
      changes_([this] { return CurrentDesign(); }, this) {
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

QString FileCommands::SaveProblemText(const DesignSave& save) {
    if (save.problem == DesignSaveProblem::TooLarge) {
        return tr("保存すると %1 MB になり、開ける大きさ (1 MB) "
                  "を超えます。メモを短くしてください。")
            .arg(static_cast<double>(save.size) / (1024.0 * 1024.0), 0, 'f', 1);
    }
    return tr("「%1」がこのままでは、保存したファイルを開けません。")
        .arg(FromUtf8(save.readBack.key));
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
    DesignTexts texts;
    texts.isLpf = design.isLpf;
    texts.command = design.command;
    for (std::size_t i = 0; i < 3; ++i) {
        texts.request[i] = FromUtf8(design.request[i]);
        texts.result[i] = FromUtf8(design.result[i]);
    }
    for (std::size_t i = 0; i < kDesignParts; ++i) {
        texts.parts[i] = FromUtf8(design.parts[i]);
        texts.series[i] = FromUtf8(design.series[i]);
    }
    // The analysis settings first: a result shown again is drawn with them.
    if (!analysis_) {
        if (design.analysis) {
            keptSettings_ = design.analysis;
        }
        keptOpAmp_ = design.opAmp;
        keptNote_ = FromUtf8(design.note);
    } else {
        if (design.analysis) {
            ApplyAnalysisSettings(*analysis_, *design.analysis);
        }
        ApplyOpAmpSetting(*analysis_, design.opAmp);
        noteEdit_->setPlainText(FromUtf8(design.note));
    }
    source_.ShowTexts(texts);
    if (analysis_) {
        analysis_->OptimiseTab().InputChanged();
    }
}

DesignFile FileCommands::CurrentDesign() const {
    const DesignTexts texts = source_.Texts();
    DesignFile design;
    design.isLpf = texts.isLpf;
    design.command = texts.command;
    for (std::size_t i = 0; i < 3; ++i) {
        design.request[i] = ToUtf8(texts.request[i]);
        design.result[i] = ToUtf8(texts.result[i]);
    }
    for (std::size_t i = 0; i < kDesignParts; ++i) {
        design.parts[i] = ToUtf8(texts.parts[i]);
        design.series[i] = ToUtf8(texts.series[i]);
    }
    if (analysis_ && noteEdit_) {
        design.analysis = AnalysisSettingsShown(*analysis_);
        design.opAmp = OpAmpSettingShown(*analysis_);
        design.note = ToUtf8(noteEdit_->toPlainText());
    } else {
        design.analysis = keptSettings_;
        design.opAmp = keptOpAmp_;
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
    // A design the reader would refuse (a note beyond the file size limit) is not saved: the old
    // file stays, and the user is told why.
    const DesignSave save = DesignFileToSave(CurrentDesign());
    if (save.problem != DesignSaveProblem::None) {
        ShowSaveFailure(path, SaveProblemText(save), over ? over : &form_);
        return false;
    }
    const QString reason =
        SaveWhole(path, QByteArray(save.bytes.data(), static_cast<qsizetype>(save.bytes.size())));
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
    analysis_ = &analysis;
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
    if (keptOpAmp_) {
        ApplyOpAmpSetting(analysis, keptOpAmp_);
        keptOpAmp_.reset();
    }
    changes_.Watch(analysis);
    if (unchanged) {
        changes_.Reshown();
    }
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
