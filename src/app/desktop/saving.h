// Saving a file from the windows: written whole or not at all, and a failure told with the file's
// full path and the system's reason.
#pragma once

#include <QByteArray>
#include <QString>

class QWidget;

namespace mirelto {

// Writes `bytes` to `path` whole or not at all (SaveFileWhole); the system's reason when that
// fails (the old file kept), else an empty text.
QString SaveWhole(const QString& path, const QByteArray& bytes);

// "<full path> を保存できません。" and the reason, in an error box centred over `over`.
void ShowSaveFailure(const QString& path, const QString& reason, QWidget* over);

}  // namespace mirelto
