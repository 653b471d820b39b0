#pragma once

#include "vexawidgets_global.h"

#include <QDialog>
#include <memory>

class QLabel;
class QPushButton;

namespace vexa {
namespace widgets {

// Frameless dialog with a title bar (title text and a close button) above a
// content area that subclasses fill with their own layout. It is moved by
// dragging its title bar.
class VEXAWIDGETS_EXPORT Dialog : public QDialog
{
    Q_OBJECT
public:
    explicit Dialog(QWidget* parent = nullptr);
    ~Dialog() override;

    void setTitle(const QString& title);
    QString title() const;
    void setTitleBarVisible(bool visible);

    // The content area; subclasses set their layout on it.
    QWidget* dialogWidget() const;

    int exec() override;

public Q_SLOTS:
    // Called by the title bar's close button; closes the dialog.
    virtual void dialogClose();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace widgets
} // namespace vexa
