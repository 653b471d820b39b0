#include "blockdialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace vexa {
namespace widgets {

namespace {

// A ring of dots whose bright end turns; painted with the palette so it is
// visible without any style sheet.
class Spinner : public QWidget
{
public:
    explicit Spinner(QWidget* parent) : QWidget(parent), m_timer(new QTimer(this))
    {
        setObjectName(QStringLiteral("blockSpinner"));
        setFixedSize(40, 40);
        m_timer->setInterval(80);
        QObject::connect(m_timer, &QTimer::timeout, this, [this] {
            m_step = (m_step + 1) % kDots;
            update();
        });
    }

    void start() { m_timer->start(); }
    void stop() { m_timer->stop(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        const QPointF centre = QRectF(rect()).center();
        const qreal radius = std::min(width(), height()) / 2.0 - 4.0;
        QColor colour = palette().color(QPalette::Highlight);
        for (int i = 0; i < kDots; ++i) {
            const int age = (m_step - i + kDots) % kDots; // 0 for the brightest dot
            colour.setAlphaF(1.0 - 0.8 * age / kDots);
            painter.setBrush(colour);
            const qreal angle = 2.0 * M_PI * i / kDots;
            const QPointF dot(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
            painter.drawEllipse(dot, 3.0, 3.0);
        }
    }

private:
    static constexpr int kDots = 12;
    QTimer* m_timer;
    int m_step = 0;
};

} // namespace

struct BlockDialog::Private {
    Spinner* spinner = nullptr;
    QLabel* tip = nullptr;
};

BlockDialog::BlockDialog(QWidget* parent) : Dialog(parent), d(std::make_unique<Private>())
{
    setObjectName(QStringLiteral("blockDialog"));
    setTitleBarVisible(false);
    setModal(true);

    QWidget* content = dialogWidget();
    d->spinner = new Spinner(content);
    d->tip = new QLabel(content);
    d->tip->setObjectName(QStringLiteral("blockTipText"));
    d->tip->setTextFormat(Qt::PlainText);
    d->tip->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->setSpacing(10);
    layout->addWidget(d->spinner, 0, Qt::AlignHCenter);
    layout->addWidget(d->tip);
}

BlockDialog::~BlockDialog() = default;

void BlockDialog::setTipText(const QString& text)
{
    d->tip->setText(text);
}

QString BlockDialog::tipText() const
{
    return d->tip->text();
}

void BlockDialog::showEvent(QShowEvent* event)
{
    Dialog::showEvent(event);
    d->spinner->start();
}

void BlockDialog::hideEvent(QHideEvent* event)
{
    d->spinner->stop();
    Dialog::hideEvent(event);
}

void BlockDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    Dialog::keyPressEvent(event);
}

void BlockDialog::closeEvent(QCloseEvent* event)
{
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    Dialog::closeEvent(event);
}

} // namespace widgets
} // namespace vexa
