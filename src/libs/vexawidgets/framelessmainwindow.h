#pragma once

#include "vexawidgets_global.h"

#include <QMainWindow>
#include <memory>

namespace vexa {
namespace widgets {

// The host's main window: frameless, dragged by its top strip. While
// activation is disabled (a plug-in's modal dialog is open) it does not take
// the focus back or raise itself over that dialog.
class VEXAWIDGETS_EXPORT FramelessMainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit FramelessMainWindow(QWidget* parent = nullptr);
    ~FramelessMainWindow() override;

    // The application's main window: the first FramelessMainWindow still
    // alive, or null when the host made none.
    static FramelessMainWindow* getMainWindow();

    void setActivateEnabled(bool enabled);
    bool isActivateEnabled() const;

    // Raises and activates the window unless activation is disabled.
    void activate();

Q_SIGNALS:
    // Ctrl+Alt+Left asks for the previous screen (true), Ctrl+Alt+Right for the next (false).
    void signalHookMoveScreen(bool previous);

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace widgets
} // namespace vexa
