// Whether the design in the windows has changed since it was last opened or saved: the windows'
// captions show the design file's name and a change mark, and a changed design is not set aside
// (the program closed, another file opened) before the user has said whether to save it.
//
// "Changed" is the design as a file would hold it now against the one taken when the file was
// opened or saved, so that typing a box back to its old text is no change.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

#include "design_file.h"

class QWidget;

namespace mirelto {

// What the user answers to "save changes?".
enum class SetAside { Save, Discard, Cancel };

class ChangeTracker : public QObject {
    Q_OBJECT

  public:
    // `current` gives the design the windows show now.
    ChangeTracker(std::function<DesignFile()> current, QObject* parent);

    // Keeps the caption of `window` and refreshes it whenever one of its boxes, selectors,
    // buttons or texts changes.
    void Watch(QWidget& window);
    // The design the windows show now is what the file at `path` holds.
    void Settled(const QString& path);
    // The design is shown anew (the analysis window made): what it shows now stands for the
    // file in use.
    void Reshown();
    // A design file is in use and the windows show something else than it holds.
    bool Changed() const;
    // Asks "save changes?" over `over` when the design has changed; Discard when it has not.
    SetAside Ask(QWidget* over) const;
    // The captions: "<file>[*] - <caption>" with the change mark while a file is in use, the
    // caption as it was before.
    void Refresh();

  private:
    std::function<DesignFile()> current_;
    QString path_;
    std::optional<DesignFile> settled_;
    struct Watched {
        QPointer<QWidget> window;
        QString caption;
    };
    QList<Watched> windows_;
};

}  // namespace mirelto
