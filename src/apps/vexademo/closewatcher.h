#pragma once

// Qt drops a window manager's close request for a window that a modal
// dialog blocks, without a word: closing the main window while the package
// dialog runs did nothing. On X11 this hands such a request to the host.

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

namespace vexademo {

class CloseWatcher : public QAbstractNativeEventFilter
{
public:
    // The atoms of WM_PROTOCOLS and WM_DELETE_WINDOW on this display.
    CloseWatcher(QWidget* window, std::function<void()> onBlockedClose, std::uint32_t protocols, std::uint32_t deleteWindow);

    // Installed for this display, or null when the application does not run on X11.
    static std::unique_ptr<CloseWatcher> install(QWidget* window, std::function<void()> onBlockedClose);
    ~CloseWatcher() override;

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
#else
    bool nativeEventFilter(const QByteArray& eventType, void* message, long* result) override;
#endif

private:
    bool handle(const QByteArray& eventType, const void* message);

    QPointer<QWidget> window_;
    std::function<void()> onBlockedClose_;
    std::uint32_t protocols_;
    std::uint32_t deleteWindow_;
    bool installed_ = false;
};

} // namespace vexademo
