#include "app_test_support.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QValueAxis>
#include <QWidget>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <fstream>
#include <string>

#include "calculator/main_window.h"

namespace mirelto::test {

FakePlatform::FakePlatform() : previous_(SetPlatform(this)) {}

FakePlatform::~FakePlatform() {
    SetPlatform(previous_);
}

Rect FakePlatform::WindowRect(const QWidget& window) const {
    if (windowRect) {
        return *windowRect;
    }
    const QRect r = window.frameGeometry();
    return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

Rect FakePlatform::WorkArea(const QWidget*) const {
    return workArea;
}

QMargins FakePlatform::ExpectedFrame(QWidget&) {
    return expectedFrame;
}

int FakePlatform::ExecModal(QDialog& dialog) {
    ShownBox box{dialog.windowTitle(), {}, QMessageBox::NoIcon,   dialog.pos(),
                 dialog.size(),        {}, QMessageBox::NoButton, dialog.parentWidget()};
    if (auto* message = qobject_cast<QMessageBox*>(&dialog)) {
        box.text = message->text();
        box.icon = message->icon();
        box.buttons = message->standardButtons();
        box.defaultButton = message->standardButton(message->defaultButton());
    }
    boxes.append(box);
    return QMessageBox::Ok;
}

bool FakePlatform::ExecPrintDialog(QPrintDialog& dialog) {
    ++printDialogs;
    if (confirmPrint && choosePrinter) {
        choosePrinter(*dialog.printer());
    }
    return confirmPrint;
}

void FakePlatform::SetClipboardText(const QString& text) {
    copied.append(text);
}

void FakePlatform::SetClipboardImage(const QImage& image) {
    copiedImages.append(image);
}

QString FakePlatform::GetSaveFileName(QWidget*, const QString&, const QString& suggested,
                                      const QString& filters, QString* selectedFilter) {
    ++saveDialogs;
    offeredName = suggested;
    offeredFilters = filters;
    offeredFilter = selectedFilter ? *selectedFilter : QString();
    if (selectedFilter && !saveFilter.isEmpty()) {
        *selectedFilter = saveFilter;
    }
    return savePath;
}

QString FakePlatform::GetOpenFileName(QWidget*, const QString&, const QString&, const QString&) {
    ++openDialogs;
    return openPath;
}

TickWatch::TickWatch(const QWidget& area) {
    for (const QChartView* view : area.findChildren<QChartView*>()) {
        for (QAbstractAxis* axis : view->chart()->axes()) {
            auto* value = qobject_cast<QValueAxis*>(axis);
            if (!value) {
                continue;
            }
            const auto check = [value, most = most_] {
                if (value->tickType() == QValueAxis::TicksDynamic && value->tickInterval() > 0) {
                    *most = std::max(*most, (value->max() - value->min()) / value->tickInterval());
                }
            };
            QObject::connect(value, &QValueAxis::rangeChanged, context_.get(), check);
            QObject::connect(value, &QValueAxis::tickIntervalChanged, context_.get(), check);
            QObject::connect(value, &QValueAxis::tickTypeChanged, context_.get(), check);
        }
    }
}

QWidget* Control(const QWidget& form, const QString& name) {
    auto* widget = form.findChild<QWidget*>(name);
    if (!widget) {
        qFatal("no control %s", qPrintable(name));
    }
    return widget;
}

bool OpenFreshMainWindow(std::unique_ptr<FakePlatform>& platform,
                         std::unique_ptr<TFormMain>& form) {
    DesignState.ResultValid = false;
    platform = std::make_unique<FakePlatform>();
    form = std::make_unique<TFormMain>();
    form->move(100, 100);
    form->show();
    return QTest::qWaitForWindowExposed(form.get());
}

TFormAnalysis* OpenAnalysis(TFormMain& form) {
    QTest::mouseClick(form.LabelAnalysis, Qt::LeftButton, {}, QPoint(25, 6));
    return form.AnalysisWindow();
}

Texts TextsOf(const QString& written) {
    Texts texts;
    for (const QString& item : written.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const qsizetype equals = item.indexOf(QLatin1Char('='));
        if (equals < 0) {
            qFatal("no '=' in %s", qPrintable(item));
        }
        texts.insert(item.left(equals), item.mid(equals + 1));
    }
    return texts;
}

QString ShownText(const QWidget& form, const QString& name) {
    QWidget* control = Control(form, name);
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        return combo->currentText();
    }
    return qobject_cast<QLineEdit*>(control)->text();
}

QString GoldenDifference(const QString& text, const QString& name) {
    QFile file(QStringLiteral(MIRELTO_APP_GOLDEN_DIR "/") + name);
    const QByteArray bytes = text.toUtf8();
    if (qgetenv("MIRELTO_UPDATE_GOLDEN") == "1" && file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
        file.close();
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return name + QStringLiteral(" cannot be read");
    }
    const QByteArray golden = file.readAll();
    if (bytes == golden) {
        return {};
    }
    // Where they part, in characters: a byte offset could fall inside a Japanese character.
    const QString expected = QString::fromUtf8(golden);
    qsizetype at = 0;
    while (at < text.size() && at < expected.size() && text[at] == expected[at]) {
        ++at;
    }
    return QStringLiteral(
               "%1 differs at character %2: \"%3\" against the file's \"%4\" "
               "(MIRELTO_UPDATE_GOLDEN=1 rewrites the file)")
        .arg(name)
        .arg(at)
        .arg(text.mid(at, 20), expected.mid(at, 20));
}

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

void PinTestEnvironment(const char* desktopLocale) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qputenv("QT_FONT_DPI", "96");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    // The desktop's language for messages; the "C" formats and fonts for everything else.
    qunsetenv("LC_ALL");
    qunsetenv("LANGUAGE");
    qputenv("LANG", "C.UTF-8");
    qputenv("LC_MESSAGES", desktopLocale);
    qunsetenv("MIRELTO_LANG");
    std::setlocale(LC_ALL, "C.UTF-8");
    static const std::string home = QDir::tempPath().toStdString() + "/mirelto-test-home";
    QDir().mkpath(QString::fromStdString(home));
    // Qt wants its runtime directory private to the user.
    QFile::setPermissions(QString::fromStdString(home),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", QByteArray::fromStdString(home));
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(home));
    // Settings (the recent files) go under the temporary home too.
    qunsetenv("XDG_CONFIG_HOME");
}

}  // namespace mirelto::test
