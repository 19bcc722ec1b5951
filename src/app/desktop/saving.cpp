#include "desktop/saving.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <string_view>

#include "file_saving.h"

#include "desktop/message_box.h"

namespace mirelto {

QString SaveWhole(const QString& path, const QByteArray& bytes) {
    // The writer mirelto-cli uses too: pipes and devices written in place rather than replaced
    // by a regular file, links kept, nothing partial left behind.
    const int error = SaveFileWhole(QFile::encodeName(path).toStdString(),
                                    std::string_view(bytes.constData(), bytes.size()));
    return error == 0 ? QString() : QString::fromLocal8Bit(std::strerror(error));
}

void ShowSaveFailure(const QString& path, const QString& reason, QWidget* over) {
    const QString fullPath = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    ShowMessageCentered(
        QCoreApplication::translate("Saving", "%1 を保存できません。\n%2").arg(fullPath, reason),
        MessageType::Error, QMessageBox::Ok, 0, over);
}

}  // namespace mirelto
