#include "app_test_support.h"

#include <QAbstractButton>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QValueAxis>
#include <QWidget>

#include <algorithm>
#include <clocale>
#include <cstdio>
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
    ShownBox box{dialog.windowTitle(),
                 {},
                 QMessageBox::NoIcon,
                 dialog.pos(),
                 dialog.size(),
                 {},
                 {},
                 QMessageBox::NoButton,
                 dialog.parentWidget()};
    if (auto* message = qobject_cast<QMessageBox*>(&dialog)) {
        box.text = message->text();
        box.icon = message->icon();
        box.buttons = message->standardButtons();
        for (int flag = QMessageBox::FirstButton; flag <= QMessageBox::LastButton; flag <<= 1) {
            if (QAbstractButton* button = message->button(QMessageBox::StandardButton(flag))) {
                box.buttonTexts << button->text();
            }
        }
        box.defaultButton = message->standardButton(message->defaultButton());
    }
    boxes.append(box);
    return box.buttons.testFlag(answer) ? answer : QMessageBox::Ok;
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

namespace {

// The user's own settings folder, read before the test moved HOME.
QString& RealFolder() {
    static QString folder;
    return folder;
}

QTemporaryDir*& TemporaryHome() {
    static QTemporaryDir* home = nullptr;
    return home;
}

// Fails the test program at its end when the user's own settings name a file of this run.
void CheckRealSettingsUntouched() {
    if (!RealSettingsUntouched()) {
        std::fprintf(stderr, "FAIL: the test wrote into the user's settings in %s\n",
                     qPrintable(RealFolder()));
        std::_Exit(1);
    }
}

}  // namespace

bool FolderMentions(const QString& folder, const QString& text) {
    const QByteArray needle = QFile::encodeName(text);
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly) && file.readAll().contains(needle)) {
            return true;
        }
    }
    return false;
}

QString TestHome() {
    return TemporaryHome() ? TemporaryHome()->path() : QString();
}

QString RealSettingsFolder() {
    return RealFolder();
}

bool RealSettingsUntouched() {
    return TestHome().isEmpty() || !FolderMentions(RealFolder(), TestHome());
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
    PinTemporaryHome();
}

void PinTemporaryHome() {
    // Where the user's settings live, read before HOME moves.
    const QString config = qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME")
                               ? QDir::homePath() + QStringLiteral("/.config")
                               : qEnvironmentVariable("XDG_CONFIG_HOME");
    RealFolder() = config + QStringLiteral("/Mirelto");
    // A home of this run's own, removed at the end; private, as Qt wants its runtime folder.
    TemporaryHome() = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/mirelto-test-XXXXXX"));
    if (!TemporaryHome()->isValid()) {
        qFatal("no temporary home: %s", qPrintable(TemporaryHome()->errorString()));
    }
    const QByteArray home = QFile::encodeName(TemporaryHome()->path());
    qputenv("HOME", home);
    qputenv("XDG_RUNTIME_DIR", home);
    qputenv("XDG_CONFIG_HOME", home + "/.config");
    qputenv("XDG_CACHE_HOME", home + "/.cache");
    qputenv("XDG_DATA_HOME", home + "/.local/share");
    // The tests' own temporary folders inside it too: every file a test saves, and so every
    // path the recent list could take, names the temporary home.
    QDir().mkpath(QFile::decodeName(home + "/tmp"));
    qputenv("TMPDIR", home + "/tmp");
    // The window's settings (the recent files) under the temporary home, whatever Qt read before.
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, QFile::decodeName(home + "/.config"));
    }
    const QString settingsFile =
        QSettings(QStringLiteral("Mirelto"), QStringLiteral("mirelto")).fileName();
    if (!settingsFile.startsWith(TemporaryHome()->path() + QLatin1Char('/'))) {
        qFatal("the window's settings would go to %s", qPrintable(settingsFile));
    }
    std::atexit([] {
        CheckRealSettingsUntouched();
        delete TemporaryHome();
        TemporaryHome() = nullptr;
    });
}

}  // namespace mirelto::test
