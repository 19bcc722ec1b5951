// A bare Qt Widgets program: one empty window. Start-up time and memory of the calculator are
// measured against it.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare Qt window"));
    window.resize(352, 392);
    window.show();
    return app.exec();
}
