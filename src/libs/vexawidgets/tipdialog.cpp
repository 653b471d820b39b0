#include "tipdialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <QVariant>

#include <array>

namespace vexa {
namespace widgets {

namespace {
enum ButtonCode { Closed = 0, Confirmed = 1, Cancelled = 2, Third = 3 };
}

struct TipDialog::Private {
    EnumTipType type = TipMessage;
    QLabel* icon = nullptr;
    QLabel* text = nullptr;
    std::array<QPushButton*, 3> buttons{}; // confirming, cancelling, third
    int code = Closed;
    int defaultCode = Confirmed;
};

TipDialog::TipDialog(const EnumTipType& type, QWidget* parent) : Dialog(parent), d(std::make_unique<Private>())
{
    d->type = type;
    setObjectName(QStringLiteral("tipDialog"));
    setProperty("tipType", static_cast<int>(type));

    QStyle::StandardPixmap pixmap = QStyle::SP_MessageBoxInformation;
    switch (type) {
    case TipQuestion:
        pixmap = QStyle::SP_MessageBoxQuestion;
        setTitle(tr("Question"));
        break;
    case TipWarning:
        pixmap = QStyle::SP_MessageBoxWarning;
        setTitle(tr("Warning"));
        break;
    default:
        setTitle(tr("Message"));
        break;
    }

    QWidget* content = dialogWidget();
    d->icon = new QLabel(content);
    d->icon->setObjectName(QStringLiteral("tipIcon"));
    d->icon->setProperty("tipType", static_cast<int>(type));
    d->icon->setPixmap(style()->standardIcon(pixmap, nullptr, this).pixmap(32, 32));
    d->icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    d->text = new QLabel(content);
    d->text->setObjectName(QStringLiteral("tipText"));
    d->text->setWordWrap(true);
    // Tips often quote file names; never let them be read as markup.
    d->text->setTextFormat(Qt::PlainText);
    d->text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    d->text->setMinimumWidth(260);

    static const char* const names[] = {"tipConfirmButton", "tipCancelButton", "tipThirdButton"};
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    for (int i = 0; i < 3; ++i) {
        auto* button = new QPushButton(content);
        button->setObjectName(QLatin1String(names[i]));
        const int code = i + 1;
        connect(button, &QPushButton::clicked, this, [this, code] {
            d->code = code;
            done(code);
        });
        // Left to Qt, the button with the focus would take Enter, and which
        // one that is differs between Qt versions: one default, set here.
        button->setAutoDefault(false);
        buttonRow->addWidget(button);
        d->buttons[static_cast<std::size_t>(i)] = button;
    }
    setDefaultButton(Confirmed);

    auto* messageRow = new QHBoxLayout;
    messageRow->addWidget(d->icon);
    messageRow->addWidget(d->text, 1);

    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(12);
    layout->addLayout(messageRow, 1);
    layout->addLayout(buttonRow);

    if (type == TipQuestion)
        setBtnText(tr("OK"), tr("Cancel"), QString());
    else
        setBtnText(tr("OK"), QString(), QString());
}

TipDialog::~TipDialog() = default;

EnumTipType TipDialog::tipType() const
{
    return d->type;
}

void TipDialog::setTipText(const QString& text)
{
    d->text->setText(text);
}

QString TipDialog::tipText() const
{
    return d->text->text();
}

void TipDialog::setBtnText(const QString& confirmText, const QString& cancelText, const QString& thirdText)
{
    const QString texts[] = {confirmText, cancelText, thirdText};
    for (std::size_t i = 0; i < d->buttons.size(); ++i) {
        d->buttons[i]->setText(texts[i]);
        d->buttons[i]->setHidden(texts[i].isEmpty());
    }
}

void TipDialog::setDefaultButton(int buttonCode)
{
    if (buttonCode < Confirmed || buttonCode > Third)
        return;
    d->defaultCode = buttonCode;
    for (std::size_t i = 0; i < d->buttons.size(); ++i)
        d->buttons[i]->setDefault(static_cast<int>(i) + 1 == buttonCode);
}

PromptBoxTriggerInfo TipDialog::run()
{
    d->code = Closed;
    // The default button has the focus, or the first one shown when it is left out.
    QPushButton* focus = d->buttons[static_cast<std::size_t>(d->defaultCode - 1)];
    for (std::size_t i = 0; focus->isHidden() && i < d->buttons.size(); ++i)
        focus = d->buttons[i];
    focus->setFocus(Qt::OtherFocusReason);
    exec();
    // Closing by the title bar, Escape or close() leaves the code at Closed.
    PromptBoxTriggerInfo info;
    info.buttonCode = d->code;
    return info;
}

} // namespace widgets
} // namespace vexa
