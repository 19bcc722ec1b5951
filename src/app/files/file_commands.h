// Design files in the windows: opening (a dialog, a file dropped on the main window, the
// command line, the recent list) and saving (to the file in use or a new one), with the last
// eight files kept in the settings. Opening reads the whole file before it touches a window: a
// file that is no design of ours is told in one message and changes nothing. Saving writes a new
// file beside the old one and puts it in place only when it is complete.
//
// The main window owns this; the analysis window, once made, gets its File menu and its note tab
// from here. Its settings and the note live in its controls then; before it exists, those of the
// last file opened are kept here and given to it when it is made.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

#include "design_file.h"
#include "design_save.h"
#include "files/change_tracker.h"
#include "files/recent_files.h"
#include "source/design_source.h"

class QMenu;
class QPlainTextEdit;
class QWidget;

namespace mirelto {

class TFormAnalysis;

class FileCommands : public QObject {
    Q_OBJECT

  public:
    // Works on the source's design; its shortcuts and drops are those of the source's window.
    explicit FileCommands(DesignSource& source);

    // Asks for a file and opens it. Messages are centred over `over`.
    void Open(QWidget* over);
    // Opens the design at `path`; false (after saying why) when it is none.
    bool OpenFile(const QString& path, QWidget* over);
    // Saves to the file in use, or asks for one as SaveAs does; false when nothing was saved.
    bool Save(QWidget* over);
    bool SaveAs(QWidget* over);
    // Before the design in the windows is set aside (the program closed, another file opened):
    // a changed design asks whether to save it; false when the user cancels or the save fails.
    bool MaySetDesignAside(QWidget* over);
    // Writes the design the windows show to `path`; false (after saying why) when it fails.
    bool SaveTo(const QString& path, QWidget* over);

    // The file opened or saved last; empty before.
    const QString& CurrentFile() const { return current_; }
    // The recent list, newest first.
    QStringList RecentFiles() const { return RecentFileList(); }

    // What the windows show, as a design file holds it.
    DesignFile CurrentDesign() const;

    // The analysis window has just been made: its menu, its note tab, and the settings kept.
    void AnalysisWindowMade(TFormAnalysis& analysis);

    // The message for a file that could not be opened: its name, then what is wrong.
    static QString OpenProblemText(const QString& fileName, const DesignFileError& error);
    // Why a design is not saved: it would not open again.
    static QString SaveProblemText(const DesignSave& save);

  protected:
    // Drops of design files on the main window.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowDesign(const DesignFile& design);
    // Opens a file of the recent list; one that has gone is said so and taken off the list.
    void OpenRecent(const QString& path, QWidget* over);
    // Opens `path` once a changed design has been saved or given up.
    void OpenAfterAsking(const QString& path, QWidget* over);
    void FillRecentMenu(QMenu& menu, QWidget* over);
    void Fail(const QString& text, QWidget* over);

    DesignSource& source_;
    QWidget& form_;  // the source's window
    TFormAnalysis* analysis_ = nullptr;
    QString current_;
    // Before the analysis window exists: the settings, op-amp and note of the last file opened.
    std::optional<AnalysisSettings> keptSettings_;
    std::optional<OpAmpSetting> keptOpAmp_;
    QString keptNote_;
    QPlainTextEdit* noteEdit_ = nullptr;
    ChangeTracker changes_;
};

}  // namespace mirelto
