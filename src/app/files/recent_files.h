// The recent list of design files, newest first, kept in the settings (key `recentFiles`).
// Files that have gone since are dropped when the list is shown.
#pragma once

#include <QString>
#include <QStringList>

namespace mirelto {

// How many files the recent list keeps.
inline constexpr int kMostRecentFiles = 8;

// The list, newest first.
QStringList RecentFileList();
// Puts `path` (made absolute) first.
void RememberRecentFile(const QString& path);
// Takes `path` out.
void ForgetRecentFile(const QString& path);
// Takes out the files that no longer exist; the list left.
QStringList DropGoneRecentFiles();

}  // namespace mirelto
