#include "closewatcher.h"

#include <QApplication>
#include <QTimer>

#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace vexademo {

namespace {

std::uint32_t internAtom(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const std::uint32_t atom = reply ? reply->atom : 0;
    std::free(reply);
    return atom;
}

} // namespace

CloseWatcher::CloseWatcher(QWidget* window, std::function<void()> onBlockedClose, std::uint32_t protocols,
                           std::uint32_t deleteWindow)
    : window_(window), onBlockedClose_(std::move(onBlockedClose)), protocols_(protocols), deleteWindow_(deleteWindow)
{
}

CloseWatcher::~CloseWatcher()
{
    if (installed_ && qApp)
        qApp->removeNativeEventFilter(this);
}

std::unique_ptr<CloseWatcher> CloseWatcher::install(QWidget* window, std::function<void()> onBlockedClose)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    // Atoms belong to the display, so a connection of our own names them as Qt's does.
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (!connection || xcb_connection_has_error(connection)) {
        if (connection)
            xcb_disconnect(connection);
        return nullptr;
    }
    auto watcher = std::make_unique<CloseWatcher>(window, std::move(onBlockedClose), internAtom(connection, "WM_PROTOCOLS"),
                                                  internAtom(connection, "WM_DELETE_WINDOW"));
    xcb_disconnect(connection);
    qApp->installNativeEventFilter(watcher.get());
    watcher->installed_ = true;
    return watcher;
}

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
bool CloseWatcher::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
#else
bool CloseWatcher::nativeEventFilter(const QByteArray& eventType, void* message, long*)
#endif
{
    return handle(eventType, message);
}

bool CloseWatcher::handle(const QByteArray& eventType, const void* message)
{
    if (eventType != "xcb_generic_event_t" || !window_ || deleteWindow_ == 0)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
        return false;
    const auto* client = static_cast<const xcb_client_message_event_t*>(message);
    if (client->format != 32 || client->type != protocols_ || client->data.data32[0] != deleteWindow_ ||
        client->window != window_->internalWinId())
        return false;
    // Unblocked, Qt delivers it as a close event of its own.
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == window_)
        return false;
    QTimer::singleShot(0, window_, onBlockedClose_);
    return true;
}

} // namespace vexademo
