#include "packagepage.h"

#include "desktopfolder.h"

#include "controls.h"
#include "focusframe.h"
#include "hxcutils.h"
#include "iprojectfilemgr.h"
#include "packagedialogview.h"
#include "packagefolderchooser.h"
#include "packagemath.h"
#include "packageprobes.h"
#include "packageprogress.h"
#include "packagelocationprobe.h"
#include "runtimecall.h"
#include "tipdialog.h"
#include "translatemanager.h"
#include "translator.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMetaType>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTime>

#include <atomic>
#include <vector>

namespace vexa {
namespace projectfilemgr {

class PackagePage::Impl : public QObject
{
    Q_OBJECT
public:
    explicit Impl(PackagePage* owner) : q(owner) {}

    PackagePage* q;
    IProjectFileMgr* projectFileMgr = nullptr;
    PackageDialogView ui;
    std::uint64_t allMediasSize = 0;
    std::uint64_t usedMediasSize = 0;
    std::vector<std::int64_t> mediaList;
    // Every report is legal in every state. Cancelling lasts from the user's
    // stop until the host says it is ready again (or reports the end).
    enum class State { Idle, Packaging, Cancelling };
    std::atomic<State> state{State::Idle}; // read by the reporting thread
    double writeSpeed = 0.0;
    bool closePending = false;
    // Set while beginPackage is emitted when the start page cannot begin.
    QString startRefusal;
    QString lastFolderName;
    norvane::IHXRuntime* runtime = nullptr;

    // Read and written by the reporting thread too.
    PackageProgress progress;
    PackageLocationProbe probe;

    void initConnect();
    void translateLanguage();

    void setMediaSize(const STPackageInfo& info);
    void updateSize();
    void checkSpace();
    void showSpace(const QString& location, const PackageLocationProbe::Space& space);
    double calculateSpace(const PackageLocationProbe::Space& space);
    void selectPackagePath();
    void restoreFolderName();

    void optPackage(bool keepEnabled);
    bool startPackaging();
    void stopPackaging(bool byUser);
    void updateProgress(const std::uint64_t bytes);
    void notifyPackageAble();
    void setPackagingState();
    bool confirmClose();
    void showWarning(const QString& key);

    static QString buttonText(State state)
    {
        switch (state) {
        case State::Packaging:
            return trText(QStringLiteral("CancelPackage"));
        case State::Cancelling:
            return trText(QStringLiteral("Canceling"));
        case State::Idle:
            break;
        }
        return trText(QStringLiteral("ToPackage"));
    }

public Q_SLOTS:
    void updateProgressValue(const uint64_t mediaSize, const QString& speed, const QString& remainTimeStr,
                             const QString& finishSpaceStr);
    void onPackageAble();
};

void PackagePage::Impl::initConnect()
{
    connect(ui.selectButton, &QAbstractButton::clicked, this, [this] { selectPackagePath(); });
    connect(ui.usedMediasRadio, &QAbstractButton::clicked, this, [this] { updateSize(); });
    connect(ui.allMediasRadio, &QAbstractButton::clicked, this, [this] { updateSize(); });
    connect(ui.packageButton, &QAbstractButton::clicked, this, &Impl::optPackage);
    connect(ui.locationEdit, &QLineEdit::textChanged, this, [this] { checkSpace(); });
    connect(ui.nameEdit, &QLineEdit::editingFinished, this, [this] { restoreFolderName(); });
}

void PackagePage::Impl::translateLanguage()
{
    // A switch while packaging or cancelling keeps the button telling the truth.
    ui.translate(buttonText(state));
    checkSpace();
}

void PackagePage::Impl::setMediaSize(const STPackageInfo& info)
{
    allMediasSize = info.allMediasSize;
    usedMediasSize = info.usedMediasSize;
    mediaList = info.mediaList;
    ui.fileSizeValue->setText(formatSize(usedMediasSize, false));
    qDebug() << "package total size == " << ui.fileSizeValue->text();
    ui.allMediasRadio->setChecked(false);
    ui.usedMediasRadio->setChecked(true);
    checkSpace();
    updateSize();
}

void PackagePage::Impl::updateSize()
{
    progress.setTotalSize(ui.allMediasRadio->isChecked() ? allMediasSize : usedMediasSize);
    qWarning() << "--PROJECTFILEMGR-- Package Total Size == " << static_cast<quint64>(progress.totalSize());
    checkSpace();
    ui.fileSizeValue->setText(formatSize(progress.totalSize(), false));
}

// Until the location answers, its space counts as none.
void PackagePage::Impl::checkSpace()
{
    const QString location = ui.locationEdit->text();
    if (state == State::Idle)
        ui.packageButton->setEnabled(false);
    probe.askSpace(location, [this, location](const PackageLocationProbe::Space& space) { showSpace(location, space); });
}

void PackagePage::Impl::showSpace(const QString& location, const PackageLocationProbe::Space& answer)
{
    if (!answer.exists) {
        qWarning() << "The previous path no longer exists!" << location;
        // Setting the text runs the space check again for the new folder.
        ui.locationEdit->setText(desktopFolder());
        qWarning() << "Path changed to desktop!" << ui.locationEdit->text();
        return;
    }
    const double freeMebibytes = calculateSpace(answer);
    const std::uint64_t packageBytes = ui.allMediasRadio->isChecked() ? allMediasSize : usedMediasSize;
    const bool isShort = spaceIsShort(freeMebibytes, packageBytes);
    ui.markSpaceShort(isShort);
    // While packaging the button is the way to cancel; while cancelling it waits for the host.
    if (state == State::Idle)
        ui.packageButton->setEnabled(!isShort);
}

double PackagePage::Impl::calculateSpace(const PackageLocationProbe::Space& answer)
{
    std::uint64_t freeBytes = answer.freeBytes;
    if (answer.known) {
        qDebug() << "Available space: " << static_cast<quint64>(freeBytes) << " bytes";
    } else {
        // An unknown amount of space is treated as none, so nothing starts on a guess.
        qWarning() << "calculateSpace Error: " << answer.errorCode;
        freeBytes = 0;
    }
    const std::uint64_t mebibytes = wholeMebibytes(freeBytes);
    ui.remainSpaceValue->setText(QString::asprintf("%.1fG", static_cast<double>(mebibytes) / 1024.0));
    return static_cast<double>(mebibytes);
}

void PackagePage::Impl::selectPackagePath()
{
    const QString path = choosePackageFolder(ui.locationEdit->text());
    if (path.isEmpty())
        return;
    // The same folder again changes no text, yet its free space may have
    // changed since: measure it anyway.
    if (path == ui.locationEdit->text())
        checkSpace();
    else
        ui.locationEdit->setText(path);
}

void PackagePage::Impl::restoreFolderName()
{
    if (ui.nameEdit->text().isEmpty())
        ui.nameEdit->setText(lastFolderName);
    else
        lastFolderName = ui.nameEdit->text();
}

void PackagePage::Impl::optPackage(bool keepEnabled)
{
    if (!projectFileMgr) {
        qWarning() << "projectFileMgr is null";
        return;
    }
    switch (state.load()) {
    case State::Packaging:
        stopPackaging(!keepEnabled);
        break;
    case State::Idle:
        if (!startPackaging())
            return; // the look stays as it was
        break;
    case State::Cancelling:
        return; // waiting for the host; the button is disabled
    }
    setPackagingState();
}

bool PackagePage::Impl::startPackaging()
{
    const QString location = ui.locationEdit->text();
    const QString packagePath = location + QLatin1Char('/') + ui.nameEdit->text();
    // A file of that name blocks the folder as much as a folder does.
    const QFileInfo existing(packagePath);
    if (existing.exists() || existing.isSymLink()) {
        vexa::widgets::TipDialog tip(vexa::widgets::TipMessage, nullptr);
        tip.setTipText(trText(QStringLiteral("ReSelect")));
        tip.setBtnText(trText(QStringLiteral("OK")), QString(), QString());
        tip.run();
        return false;
    }
    // The default location never went through the chooser's check.
    if (!folderWritePermission(location.toStdString())) {
        qWarning() << "--PackageSetting--have no permission to write file!" << location;
        showWarning(QStringLiteral("NoPermission"));
        return false;
    }
    STPackage packageInfo;
    packageInfo.mediaList = mediaList;
    packageInfo.allMedias = ui.allMediasRadio->isChecked();

    ui.totalSizeLabel->setText(QStringLiteral("/%1").arg(ui.fileSizeValue->text()));
    // The speed the first figures go by, until the reports measure it.
    writeSpeed = probe.writeSpeed(ui.locationEdit->text().toStdString());
    ui.speedValue->setText(formatSize(wholeBytes(writeSpeed), true));
    ui.finishedSizeLabel->setText(QStringLiteral("0.0K"));

    qWarning() << "--PROJECTFILEMGR-- Notify Continue Package!";
    projectFileMgr->sigStopPackage(false);
    progress.restart(writeSpeed);
    startRefusal.clear();
    state = State::Packaging;
    Q_EMIT q->beginPackage(packageInfo, ui.nameEdit->text(), ui.locationEdit->text());
    if (startRefusal.isEmpty())
        return true;
    qWarning() << "--PROJECTFILEMGR-- package not started:" << startRefusal;
    // The host heard that a package starts; it must hear that none runs.
    stopPackaging(false);
    setPackagingState();
    showWarning(startRefusal);
    startRefusal.clear();
    return false;
}

void PackagePage::Impl::stopPackaging(bool byUser)
{
    // A user's stop waits for the host's answer; the host's own end does not.
    state = byUser ? State::Cancelling : State::Idle;
    progress.clearPackaged();
    qWarning() << "--PROJECTFILEMGR-- Notify Stop Package!";
    if (projectFileMgr)
        projectFileMgr->sigStopPackage(true);
}

void PackagePage::Impl::showWarning(const QString& key)
{
    vexa::widgets::TipDialog tip(vexa::widgets::TipWarning, nullptr);
    tip.setTipText(trText(key));
    tip.run();
}

void PackagePage::Impl::updateProgress(const std::uint64_t bytes)
{
    if (bytes == 0)
        return;

    const PackageProgress::Report report = progress.add(bytes, [this] { return state == State::Cancelling; });
    const ProgressTexts& texts = report.texts;
    if (report.stopped)
        qWarning() << "Package was stopped!";
    qWarning() << "Package progress show:"
               << "size:" << static_cast<quint64>(bytes) << "  speed:" << texts.speed
               << "   remain size:" << static_cast<quint64>(texts.remainBytes) << "   remainTime:" << texts.remainTime
               << "   finishSpace:" << texts.packaged;

    if (report.queue) {
        QMetaObject::invokeMethod(this, "updateProgressValue", Qt::QueuedConnection, Q_ARG(const uint64_t, bytes),
                                  Q_ARG(const QString&, texts.speed), Q_ARG(const QString&, texts.remainTime),
                                  Q_ARG(const QString&, texts.packaged));
    }
}

void PackagePage::Impl::updateProgressValue(const uint64_t mediaSize, const QString& speed,
                                            const QString& remainTimeStr, const QString& finishSpaceStr)
{
    const PackageProgress::Shown shown = progress.take({mediaSize, speed, remainTimeStr, finishSpaceStr});
    qWarning() << "current progress value == :" << shown.percent;
    ui.progressBar->setValue(shown.percent);
    ui.speedValue->setText(shown.texts.speed);
    ui.finishedSizeLabel->setText(shown.texts.finishSpace);
    ui.remainTimeValue->setText(shown.texts.remainTime);
    ui.describeProgress();
}

void PackagePage::Impl::notifyPackageAble()
{
    QMetaObject::invokeMethod(this, "onPackageAble", Qt::QueuedConnection);
}

void PackagePage::Impl::onPackageAble()
{
    // While packaging the answer changes nothing: the button must stay the way to cancel.
    if (state == State::Packaging)
        return;
    state = State::Idle;
    ui.packageButton->setText(buttonText(state));
    // The host is ready again, but a package still needs room on the drive.
    checkSpace();
    if (closePending) {
        closePending = false;
        q->close();
    }
}

void PackagePage::Impl::setPackagingState()
{
    const State now = state;
    const bool packaging = now == State::Packaging;
    for (QWidget* input : std::initializer_list<QWidget*>{ui.nameEdit, ui.locationEdit, ui.selectButton,
                                                          ui.usedMediasRadio, ui.allMediasRadio})
        input->setEnabled(!packaging);
    ui.packageButton->setText(buttonText(now));
    ui.packageButton->setDefault(now == State::Idle);
    if (now == State::Idle)
        checkSpace();
    else
        ui.packageButton->setEnabled(packaging);
    ui.progressBar->setValue(0);
    ui.remainTimeValue->setText(
        QTime::fromString(QStringLiteral("000000"), QStringLiteral("hhmmss")).toString(Qt::TextDate));
    if (!packaging) {
        ui.totalSizeLabel->clear();
        ui.finishedSizeLabel->clear();
        ui.speedValue->clear();
    }
    ui.progressWidget->setVisible(packaging);
    ui.relayoutLater();
}

bool PackagePage::Impl::confirmClose()
{
    vexa::widgets::TipDialog tip(vexa::widgets::TipQuestion, nullptr);
    tip.setTipText(trText(QStringLiteral("ClosePackageTip")));
    tip.setBtnText(trText(QStringLiteral("OK")), trText(QStringLiteral("Cancel")), QString());
    // Enter keeps the package going.
    tip.setDefaultButton(2);
    const int code = tip.run().buttonCode;
    return (code & ~2) != 0;
}

// ---------------------------------------------------------------------------

PackagePage::PackagePage(QWidget* parent) : vexa::widgets::Dialog(parent), d(new Impl(this))
{
    qRegisterMetaType<std::uint64_t>("uint64_t");
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(380, 240));
    setFixedWidth(500);
    d->ui.build(this);
    d->checkSpace();
    d->initConnect();
    auto* frame = new FocusFrame(this);
    for (QWidget* input : std::initializer_list<QWidget*>{d->ui.usedMediasRadio, d->ui.allMediasRadio, d->ui.nameEdit,
                                                         d->ui.locationEdit, d->ui.selectButton, d->ui.noSpaceButton,
                                                         d->ui.packageButton})
        frame->watch(input);
}

PackagePage::~PackagePage()
{
    if (d->projectFileMgr) {
        qWarning() << "PackagePage destroyed with a projectFileMgr attached, detaching it";
        unsetProjectFileMgr();
    }
    d->ui.nameEdit->removeEventFilter(this);
    d.reset();
}

bool PackagePage::setProjectFileMgr(IProjectFileMgr* mgr)
{
    if (!mgr) {
        qWarning() << "projectFileMgr is null";
        return false;
    }
    if (d->projectFileMgr)
        unsetProjectFileMgr();
    Impl* impl = d.get();
    const bool connected = callInRuntime(d->runtime, __FILE__, __LINE__, "setProjectFileMgr", [mgr, impl] {
        mgr->sigPackageProgress.connect(&Impl::updateProgress, impl);
        mgr->sigPackageAble.connect(&Impl::notifyPackageAble, impl);
    });
    if (!connected) {
        qWarning() << "projectFileMgr not attached to the package page, the runtime refused the call";
        return false;
    }
    d->projectFileMgr = mgr;
    return true;
}

void PackagePage::unsetProjectFileMgr()
{
    if (!d->projectFileMgr) {
        qWarning() << "projectFileMgr is null";
        return;
    }
    IProjectFileMgr* mgr = d->projectFileMgr;
    Impl* impl = d.get();
    callInRuntimeOrHere(d->runtime, __FILE__, __LINE__, "unsetProjectFileMgr", [mgr, impl] {
        mgr->sigPackageProgress.disconnect(&Impl::updateProgress, impl);
        mgr->sigPackageAble.disconnect(&Impl::notifyPackageAble, impl);
    });
    d->projectFileMgr = nullptr;
}

void PackagePage::setHXRuntime(norvane::IHXRuntime* runtime)
{
    d->runtime = runtime;
}

void PackagePage::unsetHXRuntime()
{
    d->runtime = nullptr;
}

void PackagePage::setMediaSize(const STPackageInfo& info)
{
    d->setMediaSize(info);
}

void PackagePage::setDefaultFolderName(const QString& name)
{
    d->ui.nameEdit->setText(name);
    d->lastFolderName = name;
}

void PackagePage::switchLanguage(const QString& language)
{
    TranslateManager::instance().translator().switchLanguage(language);
    d->translateLanguage();
}

void PackagePage::stopPackage()
{
    // The host's end of a package: whatever the dialog was doing, it is idle now.
    if (d->state == Impl::State::Packaging)
        d->stopPackaging(false);
    d->state = Impl::State::Idle;
    d->closePending = false;
    d->setPackagingState();
}

void PackagePage::refuseStart(const QString& tipKey)
{
    if (d->state == Impl::State::Packaging)
        d->startRefusal = tipKey.isEmpty() ? QStringLiteral("PackageHostUnavailable") : tipKey;
}

void PackagePage::closeEvent(QCloseEvent* event)
{
    if (!d || d->state != Impl::State::Packaging) {
        if (d)
            d->closePending = false;
        vexa::widgets::Dialog::closeEvent(event);
        return;
    }
    qWarning() << "now isPackageing, is need stop Package?";
    const bool stop = d->confirmClose();
    if (d->state != Impl::State::Packaging) {
        // Packaging ended while the question was open; its own close could not
        // run meanwhile, so there is nothing left to stop: close now.
        d->closePending = false;
        vexa::widgets::Dialog::closeEvent(event);
        return;
    }
    if (stop) {
        d->closePending = true;
        d->stopPackaging(true);
        d->setPackagingState();
    }
    event->ignore();
}

void PackagePage::showEvent(QShowEvent* event)
{
    // Nothing of an earlier opening carries over but the state of the package:
    // one under way, or one the host is still stopping (no new one until then).
    if (d->state != Impl::State::Packaging)
        d->setPackagingState();
    d->closePending = false;
    // The dialog opens ready to package what it proposes: Enter or Space does.
    // (The name box would show its focus and selection to mouse users too.)
    if (d->ui.packageButton->isEnabled())
        d->ui.packageButton->setFocus(Qt::OtherFocusReason);
    vexa::widgets::Dialog::showEvent(event);
}

bool PackagePage::eventFilter(QObject* watched, QEvent* event)
{
    if (d && watched == d->ui.nameEdit && event->type() == QEvent::FocusOut && d->ui.nameEdit->text().isEmpty())
        d->ui.nameEdit->setText(d->lastFolderName);
    return vexa::widgets::Dialog::eventFilter(watched, event);
}

void PackagePage::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        // While packaging Escape does nothing; otherwise it is the keyboard's
        // way out, as the title bar's close button is the mouse's.
        if (d && d->state != Impl::State::Packaging)
            close();
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The default button: the package button while idle.
        vexa::widgets::Dialog::keyPressEvent(event);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace projectfilemgr
} // namespace vexa

#include "packagepage.moc"
