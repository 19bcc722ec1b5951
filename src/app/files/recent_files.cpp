#include "files/recent_files.h"

#include <QFileInfo>
#include <QSettings>

namespace mirelto {

namespace {

const QString kRecentKey = QStringLiteral("recentFiles");

QSettings Settings() {
    return QSettings(QStringLiteral("Mirelto"), QStringLiteral("mirelto"));
}

void Keep(const QStringList& recent) {
    Settings().setValue(kRecentKey, recent.mid(0, kMostRecentFiles));
}

}  // namespace

QStringList RecentFileList() {
    return Settings().value(kRecentKey).toStringList().mid(0, kMostRecentFiles);
}

void RememberRecentFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList recent = RecentFileList();
    recent.removeAll(absolute);
    recent.prepend(absolute);
    Keep(recent);
}

void ForgetRecentFile(const QString& path) {
    QStringList recent = RecentFileList();
    if (recent.removeAll(path) > 0) {
        Keep(recent);
    }
}

QStringList DropGoneRecentFiles() {
    const QStringList recent = RecentFileList();
    QStringList left;
    for (const QString& path : recent) {
        if (QFileInfo::exists(path)) {
            left << path;
        }
    }
    if (left != recent) {
        Keep(left);
    }
    return left;
}

}  // namespace mirelto
