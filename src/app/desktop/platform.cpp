#include "desktop/platform.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QPrintDialog>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

#ifdef MIRELTO_HAS_XCB
#include <xcb/xcb.h>
#include <QGuiApplication>
#endif

namespace mirelto {

namespace {

Rect FromQRect(const QRect& r) {
    return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

Platform* installed = nullptr;

}  // namespace

QPoint CentredPosition(const Rect& over, QSize outer, const Rect& workArea, KeepInside keep) {
    const auto place = [keep](int low, int high, int size, int areaLow, int areaHigh) {
        int start = low + (high - low - size) / 2;
        start = std::max(start, areaLow);
        if (keep == KeepInside::Whole && start > areaHigh - size) {
            start = areaHigh - size;
        }
        return start;
    };
    return {place(over.left, over.right, outer.width(), workArea.left, workArea.right),
            place(over.top, over.bottom, outer.height(), workArea.top, workArea.bottom)};
}

QSize FramedSize(const QWidget& framed, QSize client) {
    const Rect outer = CurrentPlatform().WindowRect(framed);
    const QSize frame((outer.right - outer.left) - framed.width(),
                      (outer.bottom - outer.top) - framed.height());
    return client + frame;
}

Platform& CurrentPlatform() {
    static QtPlatform qtPlatform;
    return installed ? *installed : qtPlatform;
}

Platform* SetPlatform(Platform* platform) {
    Platform* previous = installed;
    installed = platform;
    return previous;
}

Rect QtPlatform::WindowRect(const QWidget& window) const {
    return FromQRect(window.frameGeometry());
}

Rect QtPlatform::WorkArea(const QWidget* window) const {
    // The screen that holds the largest part of the window, else the primary one.
    QScreen* screen = window ? window->screen() : nullptr;
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen ? FromQRect(screen->availableGeometry()) : Rect{};
}

#ifdef MIRELTO_HAS_XCB
namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The 32-bit values of a property, at most `count`.
Reply<xcb_get_property_reply_t> Property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name,
                                         xcb_atom_t type, uint32_t count) {
    return Reply<xcb_get_property_reply_t>(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, count), nullptr));
}

bool Supports(xcb_connection_t* c, xcb_window_t root, xcb_atom_t hint) {
    const Reply<xcb_get_property_reply_t> supported =
        Property(c, root, Atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 1024);
    if (!supported || supported->format != 32) {
        return false;
    }
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(supported.get()));
    const int count = xcb_get_property_value_length(supported.get()) / 4;
    return std::find(atoms, atoms + count, hint) != atoms + count;
}

// The extended window manager hints let a client ask for the frame of a window not yet mapped:
// the manager answers by setting _NET_FRAME_EXTENTS (left, right, top, bottom) on it.
QMargins RequestFrameExtents(xcb_connection_t* c, xcb_window_t window) {
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    const xcb_atom_t request = Atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t extents = Atom(c, "_NET_FRAME_EXTENTS");
    if (!geometry || request == XCB_ATOM_NONE || !Supports(c, geometry->root, request)) {
        return {};
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = request;
    xcb_send_event(c, 0, geometry->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c);
    // A manager answers at once; one that does not is not waited for long.
    constexpr auto kPatience = std::chrono::milliseconds(500);
    constexpr auto kPoll = std::chrono::milliseconds(2);
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    do {
        const Reply<xcb_get_property_reply_t> reply =
            Property(c, window, extents, XCB_ATOM_CARDINAL, 4);
        if (reply && reply->format == 32 && xcb_get_property_value_length(reply.get()) == 16) {
            const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
            return QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
        }
        std::this_thread::sleep_for(kPoll);
    } while (std::chrono::steady_clock::now() < deadline);
    return {};
}

}  // namespace
#endif

QMargins QtPlatform::ExpectedFrame(QWidget& window) {
    const WId id = window.winId();
#ifdef MIRELTO_HAS_XCB
    // Only the xcb platform's window ids are X windows: the offscreen platform may offer an X
    // connection of its own for GL while its windows are not on the display.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && x11->connection() && QGuiApplication::platformName() == QLatin1String("xcb")) {
        return RequestFrameExtents(x11->connection(), static_cast<xcb_window_t>(id));
    }
#endif
    static_cast<void>(id);
    return {};
}

int QtPlatform::ExecModal(QDialog& dialog) {
    return dialog.exec();
}

bool QtPlatform::ExecPrintDialog(QPrintDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

void QtPlatform::SetClipboardText(const QString& text) {
    // setText replaces every format the clipboard held: the report is its only content.
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

void QtPlatform::SetClipboardImage(const QImage& image) {
    QGuiApplication::clipboard()->setImage(image, QClipboard::Clipboard);
}

QString QtPlatform::GetSaveFileName(QWidget* parent, const QString& caption,
                                    const QString& suggested, const QString& filters,
                                    QString* selectedFilter) {
    return QFileDialog::getSaveFileName(parent, caption, suggested, filters, selectedFilter);
}

QString QtPlatform::GetOpenFileName(QWidget* parent, const QString& caption,
                                    const QString& directory, const QString& filters) {
    return QFileDialog::getOpenFileName(parent, caption, directory, filters);
}

}  // namespace mirelto
