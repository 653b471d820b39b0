#include "loadingpage.h"

#include "translatemanager.h"
#include "translator.h"

#include <QVariant>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace vexa {
namespace projectfilemgr {

class LoadingPage::Impl : public QObject
{
public:
    explicit Impl(LoadingPage* owner) : q(owner) {}

    void step()
    {
        progressBar->setValue(progressBar->value() + 1);
        if (progressBar->value() == 100) {
            loadTimer->stop();
            Q_EMIT q->initFinish();
        }
    }

    QWidget* pageWidget = nullptr;
    LoadingPage* q;
    QLabel* iconLabel = nullptr;
    QLabel* versionLabel = nullptr;
    QLabel* appNameLabel = nullptr;
    QLabel* tipLabel = nullptr;
    QProgressBar* progressBar = nullptr;
    QTimer* loadTimer = nullptr;
};

LoadingPage::LoadingPage(QWidget* parent) : QDialog(parent), d(new Impl(this))
{
    resize(760, 480);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(380, 241));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);

    d->pageWidget = new QWidget(this);
    d->pageWidget->setObjectName(QStringLiteral("loadingPage"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(d->pageWidget);

    d->iconLabel = new QLabel(d->pageWidget);
    d->iconLabel->setFixedSize(80, 80);
    d->iconLabel->setProperty("labelImage", QStringLiteral("softIcon"));

    d->appNameLabel = new QLabel(QCoreApplication::applicationName().replace(QLatin1Char('_'), QLatin1Char(' ')),
                                 d->pageWidget);
    d->appNameLabel->setObjectName(QStringLiteral("appName"));

    d->versionLabel = new QLabel(
        QStringLiteral("V%1.%2.%3%4%5").arg(2).arg(4).arg(QString()).arg(0).arg(QString()), d->pageWidget);
    d->versionLabel->setObjectName(QStringLiteral("version"));

    d->tipLabel = new QLabel(d->pageWidget);
    d->tipLabel->setProperty("fontSize", QStringLiteral("L"));

    d->progressBar = new QProgressBar(d->pageWidget);
    d->progressBar->setValue(0);
    d->progressBar->setFixedHeight(8);
    // The bar measures time, not work, and an 8 px bar has no room for a percentage.
    d->progressBar->setTextVisible(false);
    d->progressBar->setObjectName(QStringLiteral("progressBar"));

    auto* header = new QWidget(d->pageWidget);
    header->setFixedHeight(80);
    auto* headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(0, 0, 0, 0);
    headerLayout->setSpacing(12);
    headerLayout->addWidget(d->iconLabel);
    auto* nameColumn = new QVBoxLayout;
    nameColumn->setContentsMargins(0, 12, 0, 12);
    nameColumn->setSpacing(0);
    nameColumn->addWidget(d->appNameLabel);
    nameColumn->addWidget(d->versionLabel);
    headerLayout->addLayout(nameColumn);

    auto* bottom = new QVBoxLayout;
    bottom->setSpacing(12);
    bottom->setContentsMargins(20, 0, 20, 0);
    bottom->addWidget(d->progressBar);
    bottom->addWidget(d->tipLabel);

    auto* pageLayout = new QVBoxLayout(d->pageWidget);
    pageLayout->setContentsMargins(40, 60, 40, 60);
    pageLayout->addWidget(header);
    pageLayout->addStretch(0);
    pageLayout->addLayout(bottom);

    d->loadTimer = new QTimer(d->pageWidget);
    // A coarse timer may fire up to 5 % early; the page must last at least 100 intervals.
    d->loadTimer->setTimerType(Qt::PreciseTimer);
    connect(d->loadTimer, &QTimer::timeout, d.get(), [this] { d->step(); });
}

LoadingPage::~LoadingPage()
{
    d.reset();
}

void LoadingPage::showLoadingPage()
{
    show();
    d->loadTimer->start(25);
}

void LoadingPage::refRect(QRect& rect)
{
    move(rect.center() - QPoint(380, 241));
}

void LoadingPage::switchLanguage(const QString& language)
{
    TranslateManager::instance().translator().switchLanguage(language);
    d->tipLabel->setText(trText(QStringLiteral("InitializeTip")));
}

void LoadingPage::keyPressEvent(QKeyEvent* event)
{
    // The splash page cannot be dismissed from the keyboard.
    if (event->key() == Qt::Key_Escape)
        return;
    QWidget::keyPressEvent(event);
}

} // namespace projectfilemgr
} // namespace vexa
