// A bare Qt Widgets program: one empty window. Start-up time and memory of the calculator are
// measured against it. Given a text, the window shows it in one label in the calculator's font,
// which tells what drawing any Japanese text at all costs.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare Qt window"));
    window.resize(352, 392);
    if (argc > 1) {
        QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
        QFont font(QStringLiteral("ＭＳ ゴシック"));
        font.setPixelSize(13);
        window.setFont(font);
        auto* label = new QLabel(QString::fromLocal8Bit(argv[1]), &window);
        label->move(10, 10);
    }
    window.show();
    return app.exec();
}
