// Drawings rendered from the SVG sources at build time: the schematics and the program's icon.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace mirelto {

// Shows one drawing at the widget's size, from the rendering that suits the screen's pixel ratio.
class DrawingView : public QWidget {
    Q_OBJECT

  public:
    explicit DrawingView(QWidget* parent = nullptr);

    // `base` names a resource without extension; `base`.png is the drawing at 100 %,
    // `base`@2x.png at 200 %.
    void load(const QString& base);
    // Both renderings are there to be shown.
    bool hasDrawing() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString base_;
    // Only the rendering for the current screen is decoded and kept.
    QPixmap shown_;
};

// The program's icon in every size a desktop asks for.
QIcon ApplicationIcon();

}  // namespace mirelto
