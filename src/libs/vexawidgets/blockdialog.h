#pragma once

#include "dialog.h"

namespace vexa {
namespace widgets {

// Modal busy indicator: an animated spinner and a tip text. It blocks input
// to the rest of the application while it runs modally.
class VEXAWIDGETS_EXPORT BlockDialog : public Dialog
{
    Q_OBJECT
public:
    explicit BlockDialog(QWidget* parent = nullptr);
    ~BlockDialog() override;

    void setTipText(const QString& text);
    QString tipText() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // A busy dialog cannot be dismissed by the user: Escape and a close
    // request from the window system are ignored; close() still works.
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace widgets
} // namespace vexa
