#include "dialog.h"
#include "qtcompat.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexa {
namespace widgets {

struct Dialog::Private {
    QWidget* titleBar = nullptr;
    QLabel* titleLabel = nullptr;
    QPushButton* closeButton = nullptr;
    QWidget* content = nullptr;
    bool dragging = false;
    QPoint dragOffset; // cursor position relative to the window's top-left corner
};

Dialog::Dialog(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), d(std::make_unique<Private>())
{
    setObjectName(QStringLiteral("dialog"));

    d->titleBar = new QWidget(this);
    d->titleBar->setObjectName(QStringLiteral("dialogTitleBar"));
    d->titleLabel = new QLabel(d->titleBar);
    d->titleLabel->setObjectName(QStringLiteral("dialogTitle"));
    d->titleLabel->setTextFormat(Qt::PlainText);
    d->closeButton = new QPushButton(QString(QChar(0x00D7)), d->titleBar);
    d->closeButton->setObjectName(QStringLiteral("dialogCloseButton"));
    d->closeButton->setFlat(true);
    // Enter must never hit the close button instead of the dialog's own default button.
    d->closeButton->setAutoDefault(false);
    d->closeButton->setFocusPolicy(Qt::NoFocus);
    connect(d->closeButton, &QPushButton::clicked, this, &Dialog::dialogClose);

    auto* titleLayout = new QHBoxLayout(d->titleBar);
    titleLayout->setContentsMargins(8, 4, 4, 4);
    titleLayout->addWidget(d->titleLabel, 1);
    titleLayout->addWidget(d->closeButton);

    d->content = new QWidget(this);
    d->content->setObjectName(QStringLiteral("dialogContent"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(d->titleBar);
    layout->addWidget(d->content, 1);
}

Dialog::~Dialog() = default;

void Dialog::setTitle(const QString& title)
{
    d->titleLabel->setText(title);
    setWindowTitle(title);
}

QString Dialog::title() const
{
    return d->titleLabel->text();
}

void Dialog::setTitleBarVisible(bool visible)
{
    d->titleBar->setVisible(visible);
    if (!visible)
        d->dragging = false;
}

QWidget* Dialog::dialogWidget() const
{
    return d->content;
}

int Dialog::exec()
{
    return QDialog::exec();
}

void Dialog::dialogClose()
{
    close();
}

void Dialog::closeEvent(QCloseEvent* event)
{
    d->dragging = false;
    QDialog::closeEvent(event);
}

void Dialog::showEvent(QShowEvent* event)
{
    // A screen reader would read the cross as a multiplication sign; named
    // on each showing, in the language of the moment.
    d->closeButton->setAccessibleName(tr("Close"));
    QDialog::showEvent(event);
}

void Dialog::hideEvent(QHideEvent* event)
{
    d->dragging = false;
    QDialog::hideEvent(event);
}

void Dialog::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !d->titleBar->isHidden() &&
        d->titleBar->geometry().contains(event->pos())) {
        d->dragging = true;
        d->dragOffset = vexa::qtcompat::globalPos(event) - frameGeometry().topLeft();
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void Dialog::mouseMoveEvent(QMouseEvent* event)
{
    if (d->dragging && (event->buttons() & Qt::LeftButton)) {
        move(vexa::qtcompat::globalPos(event) - d->dragOffset);
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void Dialog::mouseReleaseEvent(QMouseEvent* event)
{
    if (d->dragging && event->button() == Qt::LeftButton) {
        d->dragging = false;
        event->accept();
        return;
    }
    QDialog::mouseReleaseEvent(event);
}

void Dialog::keyPressEvent(QKeyEvent* event)
{
    QDialog::keyPressEvent(event);
}

bool Dialog::eventFilter(QObject* watched, QEvent* event)
{
    return QDialog::eventFilter(watched, event);
}

} // namespace widgets
} // namespace vexa
