#include "desktop/saving.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

#include "desktop/message_box.h"

namespace mirelto {

QString SaveWhole(const QString& path, const QByteArray& bytes) {
    // Unbuffered, so that a short write (a full disk) shows in write()'s count: a buffered
    // QSaveFile reports a failed flush but still commits, renaming the cut file over the old one.
    // A short write is followed by another, so that the failure shows with its reason (a full
    // disk, a file too large).
    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    for (qint64 done = 0; written && done < bytes.size();) {
        const qint64 count = file.write(bytes.constData() + done, bytes.size() - done);
        written = count > 0;
        done += std::max<qint64>(count, 0);
    }
    written = written && file.error() == QFileDevice::NoError && file.commit();
    if (written) {
        return {};
    }
    const QString reason = file.errorString();
    file.cancelWriting();
    return reason;
}

void ShowSaveFailure(const QString& path, const QString& reason, QWidget* over) {
    const QString fullPath = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    ShowMessageCentered(
        QCoreApplication::translate("Saving", "%1 を保存できません。\n%2").arg(fullPath, reason),
        MessageType::Error, QMessageBox::Ok, 0, over);
}

}  // namespace mirelto
