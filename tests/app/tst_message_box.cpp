// Warnings and errors centred over the main window and kept inside the work area of its screen:
// the placement figures, and the box that ShowMessageCentered really builds and shows.
#include <QApplication>
#include <QWidget>

#include "app_test_support.h"
#include "desktop/message_box.h"

using namespace Qt::StringLiterals;

using mirelto::CentredPosition;
using mirelto::KeepInside;
using mirelto::MessageType;
using mirelto::Rect;
Q_DECLARE_METATYPE(mirelto::Rect)
Q_DECLARE_METATYPE(mirelto::MessageType)

class TestMessageBox : public QObject {
    Q_OBJECT

  private slots:
    // A window's outer rectangle, a box size and a work area; place the box; centred (top
    // first, division toward zero), then clamped top, bottom, left, right in that order.
    void boxPosition_data() {
        QTest::addColumn<Rect>("window");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<Rect>("workArea");
        QTest::addColumn<QPoint>("position");
        const Rect screen{0, 0, 1024, 768};
        const Rect taskBarBelow{0, 0, 1024, 728};
        // clang-format off
        QTest::newRow("301 high over 400 lands 49 below the top; 51 wider sticks out 25") << Rect{100, 100, 500, 500} << QSize(451, 301) << screen << QPoint(75, 149);
        QTest::newRow("even differences, centres coincide") << Rect{200, 150, 600, 550} << QSize(200, 100) << screen << QPoint(300, 300);
        QTest::newRow("window half below the bottom: bottom on the task bar") << Rect{300, 500, 700, 900} << QSize(300, 150) << taskBarBelow << QPoint(350, 578);
        QTest::newRow("window off the left edge") << Rect{-350, 200, 50, 600} << QSize(300, 150) << screen << QPoint(0, 325);
        QTest::newRow("window off the right edge") << Rect{900, 200, 1300, 600} << QSize(300, 150) << screen << QPoint(724, 325);
        QTest::newRow("task bar at the top, window at the very top") << Rect{100, 0, 500, 120} << QSize(300, 150) << Rect{0, 30, 1024, 768} << QPoint(150, 30);
        QTest::newRow("box taller than the work area: bottom on its bottom") << Rect{100, 100, 500, 500} << QSize(300, 800) << taskBarBelow << QPoint(150, -72);
        QTest::newRow("box wider than the work area: right edge on its right") << Rect{100, 100, 500, 500} << QSize(1100, 150) << screen << QPoint(-76, 225);
        QTest::newRow("second monitor: its own work area") << Rect{2800, 100, 3200, 500} << QSize(300, 150) << Rect{1024, 0, 2944, 1040} << QPoint(2644, 225);
        QTest::newRow("monitor left of the primary") << Rect{-1400, 300, -1000, 700} << QSize(300, 150) << Rect{-1280, 0, 0, 1024} << QPoint(-1280, 425);
        // clang-format on
    }
    void boxPosition() {
        QFETCH(Rect, window);
        QFETCH(QSize, box);
        QFETCH(Rect, workArea);
        QFETCH(QPoint, position);
        QCOMPARE(CentredPosition(window, box, workArea, KeepInside::Whole), position);
    }

    // A window at the row's rectangle on a fake desktop; show a message of the row's type; one
    // modal box with the type's caption and icon, OK alone and default, parented to the window,
    // placed from the fake window rectangle and work area with the box's own size.
    void showCentered_data() {
        QTest::addColumn<MessageType>("type");
        QTest::addColumn<Rect>("window");
        QTest::addColumn<Rect>("workArea");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::addColumn<QString>("edge");  // which work-area edge the box must touch, if any
        const Rect screen{0, 0, 1024, 768};
        // clang-format off
        QTest::newRow("warning, centred") << MessageType::Warning << Rect{300, 200, 700, 600} << screen << u"警告"_s << QMessageBox::Warning << QString();
        QTest::newRow("error, centred") << MessageType::Error << Rect{300, 200, 700, 600} << screen << u"エラー"_s << QMessageBox::Critical << QString();
        QTest::newRow("window below the bottom") << MessageType::Warning << Rect{300, 700, 700, 1100} << Rect{0, 0, 1024, 728} << u"警告"_s << QMessageBox::Warning << u"bottom"_s;
        QTest::newRow("window off the left edge") << MessageType::Error << Rect{-395, 200, 5, 600} << screen << u"エラー"_s << QMessageBox::Critical << u"left"_s;
        QTest::newRow("task bar at the top") << MessageType::Warning << Rect{300, -300, 700, 100} << Rect{0, 40, 1024, 768} << u"警告"_s << QMessageBox::Warning << u"top"_s;
        // clang-format on
    }
    void showCentered() {
        QFETCH(MessageType, type);
        QFETCH(Rect, window);
        QFETCH(Rect, workArea);
        QFETCH(QString, caption);
        QFETCH(QMessageBox::Icon, icon);
        QFETCH(QString, edge);
        mirelto::test::FakePlatform platform;
        QWidget owner;
        // The fake outer rectangle has the widget's own size: no frame.
        owner.resize(window.right - window.left, window.bottom - window.top);
        platform.windowRect = window;
        platform.workArea = workArea;
        const QString text = u"faに値を入力してください"_s;
        QCOMPARE(mirelto::ShowMessageCentered(text, type, QMessageBox::Ok, 0, &owner),
                 int(QMessageBox::Ok));
        QCOMPARE(platform.boxes.size(), 1);
        const mirelto::test::ShownBox& box = platform.boxes.front();
        QCOMPARE(box.caption, caption);
        QCOMPARE(box.text, text);
        QCOMPARE(box.icon, icon);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(box.defaultButton, QMessageBox::Ok);
        QCOMPARE(box.parent, &owner);
        QVERIFY(box.size.width() > 0 && box.size.height() > 0);
        QCOMPARE(box.position, CentredPosition(window, box.size, workArea, KeepInside::Whole));
        const QRect placed(box.position, box.size);
        if (edge.isEmpty()) {
            // Odd differences put the box one pixel nearer the window's top-left.
            const int windowCentreX2 = window.left + window.right;
            const int windowCentreY2 = window.top + window.bottom;
            QVERIFY(qAbs(2 * placed.x() + placed.width() - windowCentreX2) <= 1);
            QVERIFY(qAbs(2 * placed.y() + placed.height() - windowCentreY2) <= 1);
        } else if (edge == QLatin1String("bottom")) {
            QCOMPARE(placed.y() + placed.height(), workArea.bottom);
        } else if (edge == QLatin1String("left")) {
            QCOMPARE(placed.x(), workArea.left);
        } else if (edge == QLatin1String("top")) {
            QCOMPARE(placed.y(), workArea.top);
        }
    }

    void captionsAndButtons_data() {
        QTest::addColumn<MessageType>("type");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("defaultButton");
        const int question = QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
        // clang-format off
        QTest::newRow("warning")     << MessageType::Warning      << int(QMessageBox::Ok) << QStringLiteral("警告") << QStringList{QStringLiteral("OK")} << int(QMessageBox::Ok);
        QTest::newRow("error")       << MessageType::Error        << int(QMessageBox::Ok) << QStringLiteral("エラー") << QStringList{QStringLiteral("OK")} << int(QMessageBox::Ok);
        QTest::newRow("information") << MessageType::Information  << int(QMessageBox::Ok) << QStringLiteral("情報") << QStringList{QStringLiteral("OK")} << int(QMessageBox::Ok);
        QTest::newRow("save?")       << MessageType::Confirmation << question << QStringLiteral("確認") << QStringList{QStringLiteral("保存する(&S)"), QStringLiteral("キャンセル"), QStringLiteral("保存しない(&N)")} << int(QMessageBox::Save);
        // clang-format on
    }

    // A message of the row's type and buttons in the Japanese window; its caption and button
    // texts are Japanese (OK stays OK), with the row's default button.
    void captionsAndButtons() {
        QFETCH(MessageType, type);
        QFETCH(int, buttons);
        QFETCH(QString, caption);
        QFETCH(QStringList, texts);
        QFETCH(int, defaultButton);
        mirelto::test::FakePlatform platform;
        QWidget window;
        mirelto::ShowMessageCentered(QStringLiteral("?"), type,
                                     QMessageBox::StandardButtons(buttons), 0, &window);
        QCOMPARE(platform.boxes.size(), 1);
        QCOMPARE(platform.boxes.front().caption, caption);
        QCOMPARE(platform.boxes.front().buttonTexts, texts);
        QCOMPARE(int(platform.boxes.front().defaultButton), defaultButton);
    }

    // No window given and no main window; show a warning; the box is still shown, unparented.
    void showWithoutWindow() {
        mirelto::test::FakePlatform platform;
        mirelto::ShowMessageCentered(u"Qに値を入力してください"_s, MessageType::Warning,
                                     QMessageBox::Ok, 0, nullptr);
        QCOMPARE(platform.boxes.size(), 1);
        QCOMPARE(platform.boxes.front().caption, u"警告"_s);
        QCOMPARE(platform.boxes.front().parent, nullptr);
    }
};

MIRELTO_QTEST_MAIN(TestMessageBox)
#include "tst_message_box.moc"
