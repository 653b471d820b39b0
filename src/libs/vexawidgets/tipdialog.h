#pragma once

#include "dialog.h"

namespace vexa {
namespace widgets {

// Kind of a tip dialog; travels as a 32-bit integer.
enum EnumTipType : int {
    TipMessage = 0,  // plain message, one confirming button
    TipQuestion = 1, // confirming and cancelling buttons
    TipWarning = 2,  // warning, one confirming button
};

// Result of TipDialog::run(). buttonCode: 1 confirming, 2 cancelling,
// 3 third button, 0 the dialog was closed without a button.
struct PromptBoxTriggerInfo {
    int buttonCode = 0;
};

class VEXAWIDGETS_EXPORT TipDialog : public Dialog
{
    Q_OBJECT
public:
    explicit TipDialog(const EnumTipType& type, QWidget* parent = nullptr);
    ~TipDialog() override;

    EnumTipType tipType() const;
    void setTipText(const QString& text);
    QString tipText() const;

    // Confirming, cancelling and third button texts; an empty text leaves
    // that button out. Without this call the kind's default buttons apply.
    void setBtnText(const QString& confirmText, const QString& cancelText, const QString& thirdText);

    // The one button Enter presses wherever the focus is, and the one that
    // has the focus when the tip shows: 1 confirming (without this call), 2
    // cancelling, 3 third. A question whose confirming answer destroys
    // something makes the cancelling button its default.
    void setDefaultButton(int buttonCode);

    // Shows the tip modally and returns the button that ended it.
    PromptBoxTriggerInfo run();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace widgets
} // namespace vexa
