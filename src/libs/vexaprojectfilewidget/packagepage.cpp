#include "packagepage.h"

#include "desktopfolder.h"

#include "controls.h"
#include "hxcutils.h"
#include "iprojectfilemgr.h"
#include "packagemath.h"
#include "packageprobes.h"
#include "packageprogress.h"
#include "runtimecall.h"
#include "tipdialog.h"
#include "translatemanager.h"
#include "translator.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDebug>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMetaType>
#include <QProgressBar>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>
#include <vector>

namespace vexa {
namespace projectfilemgr {

namespace {

void repolish(QWidget* widget)
{
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
}

QLabel* smallLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setProperty("fontSize", QStringLiteral("S"));
    return label;
}

} // namespace

class PackagePage::Impl : public QObject
{
    Q_OBJECT
public:
    explicit Impl(PackagePage* owner) : q(owner) {}

    PackagePage* q;
    IProjectFileMgr* projectFileMgr = nullptr;
    QLabel* selectFilesLabel = nullptr;
    QRadioButton* usedMediasRadio = nullptr;
    QRadioButton* allMediasRadio = nullptr;
    QLabel* nameLabel = nullptr;
    vexa::widgets::EditBox* nameEdit = nullptr;
    QLabel* locationLabel = nullptr;
    vexa::widgets::EditBox* locationEdit = nullptr;
    vexa::widgets::PushButton* selectButton = nullptr;
    QLabel* fileSizeLabel = nullptr;
    QLabel* fileSizeValue = nullptr;
    QLabel* remainSpaceLabel = nullptr;
    QLabel* remainSpaceValue = nullptr;
    vexa::widgets::PushButton* noSpaceButton = nullptr;
    QWidget* progressWidget = nullptr;
    QProgressBar* progressBar = nullptr;
    QLabel* finishedSizeLabel = nullptr;
    QLabel* totalSizeLabel = nullptr;
    QLabel* speedLabel = nullptr;
    QLabel* speedValue = nullptr;
    QLabel* remainTimeLabel = nullptr;
    QLabel* remainTimeValue = nullptr;
    vexa::widgets::PushButton* packageButton = nullptr;
    QVBoxLayout* mainLayout = nullptr;
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

    void initUI();
    void initConnect();
    void translateLanguage();
    void relayoutLater();

    void setMediaSize(const STPackageInfo& info);
    void updateSize();
    void checkSpace();
    double calculateSpace();
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

void PackagePage::Impl::initUI()
{
    QWidget* content = q->dialogWidget();

    selectFilesLabel = new QLabel(content);
    selectFilesLabel->setFixedWidth(72);
    usedMediasRadio = new QRadioButton(content);
    usedMediasRadio->setObjectName(QStringLiteral("packageUsedMedias"));
    usedMediasRadio->setFixedHeight(24);
    usedMediasRadio->setChecked(true);
    allMediasRadio = new QRadioButton(content);
    allMediasRadio->setObjectName(QStringLiteral("packageAllMedias"));
    allMediasRadio->setFixedHeight(24);
    auto* mediaGroup = new QButtonGroup(content);
    mediaGroup->setExclusive(true);
    mediaGroup->addButton(usedMediasRadio);
    mediaGroup->addButton(allMediasRadio);

    nameLabel = new QLabel(content);
    nameLabel->setFixedWidth(72);
    nameEdit = new vexa::widgets::EditBox(content);
    nameEdit->setObjectName(QStringLiteral("packageNameEdit"));
    nameEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^[^.\\\\/?\"<>:*|]{0,100}$")), nameEdit));
    // The dialog itself watches the box, so its focus-out reaches eventFilter.
    nameEdit->installEventFilter(q);

    locationLabel = new QLabel(content);
    locationLabel->setFixedWidth(72);
    locationEdit = new vexa::widgets::EditBox(content);
    locationEdit->setObjectName(QStringLiteral("packageLocationEdit"));
    locationEdit->setReadOnly(true);
    locationEdit->setText(desktopFolder());
    selectButton = new vexa::widgets::PushButton(content);
    selectButton->setObjectName(QStringLiteral("packageSelectButton"));
    selectButton->setFixedSize(64, 24);
    selectButton->setProperty("style", QStringLiteral("general"));

    fileSizeLabel = new QLabel(content);
    fileSizeValue = new QLabel(content);
    fileSizeValue->setObjectName(QStringLiteral("packageFileSize"));
    remainSpaceLabel = new QLabel(content);
    remainSpaceValue = new QLabel(content);
    remainSpaceValue->setObjectName(QStringLiteral("packageRemainSpace"));
    noSpaceButton = new vexa::widgets::PushButton(content);
    noSpaceButton->setObjectName(QStringLiteral("shareSpaceTips"));
    // At least 100 wide, wider when its text and the style's padding need it:
    // a fixed width cut the longer translations on both sides.
    noSpaceButton->setFixedHeight(24);
    noSpaceButton->setMinimumWidth(100);
    noSpaceButton->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);

    progressWidget = new QWidget(content);
    progressWidget->setObjectName(QStringLiteral("packageProgress"));
    progressBar = new QProgressBar(progressWidget);
    progressBar->setObjectName(QStringLiteral("packageProgressBar"));
    progressBar->setRange(0, 100);
    progressBar->setValue(0);
    progressBar->setFixedHeight(6);
    finishedSizeLabel = smallLabel(progressWidget);
    finishedSizeLabel->setObjectName(QStringLiteral("packageFinishedSize"));
    totalSizeLabel = smallLabel(progressWidget);
    totalSizeLabel->setObjectName(QStringLiteral("packageTotalSize"));
    speedLabel = smallLabel(progressWidget);
    speedValue = smallLabel(progressWidget);
    speedValue->setObjectName(QStringLiteral("packageSpeed"));
    remainTimeLabel = smallLabel(progressWidget);
    remainTimeValue = smallLabel(progressWidget);
    remainTimeValue->setObjectName(QStringLiteral("packageRemainTime"));

    packageButton = new vexa::widgets::PushButton(content);
    packageButton->setObjectName(QStringLiteral("packageButton"));
    packageButton->setFixedHeight(24);
    packageButton->setMinimumWidth(52);
    packageButton->setProperty("style", QStringLiteral("general"));

    auto* mediaRow = new QHBoxLayout;
    mediaRow->setSpacing(12);
    mediaRow->addWidget(selectFilesLabel);
    mediaRow->addWidget(usedMediasRadio);
    mediaRow->addWidget(allMediasRadio);
    mediaRow->addStretch();

    auto* nameRow = new QHBoxLayout;
    nameRow->setSpacing(12);
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(nameEdit);

    auto* locationRow = new QHBoxLayout;
    locationRow->setSpacing(12);
    locationRow->addWidget(locationLabel);
    locationRow->addWidget(locationEdit);
    locationRow->addWidget(selectButton);

    auto* sizeRow = new QHBoxLayout;
    sizeRow->setSpacing(0);
    sizeRow->addSpacing(84); // caption width plus spacing, so the texts line up with the boxes
    sizeRow->addWidget(fileSizeLabel);
    sizeRow->addWidget(fileSizeValue);
    sizeRow->addWidget(remainSpaceLabel);
    sizeRow->addWidget(remainSpaceValue);
    sizeRow->addStretch();

    // A line of its own: beside the sizes, the longer translations ran out
    // of the dialog's width.
    auto* noSpaceRow = new QHBoxLayout;
    noSpaceRow->setSpacing(0);
    noSpaceRow->addSpacing(84);
    noSpaceRow->addWidget(noSpaceButton);
    noSpaceRow->addStretch();

    auto* progressTextRow = new QHBoxLayout;
    progressTextRow->setSpacing(0);
    progressTextRow->addWidget(finishedSizeLabel);
    progressTextRow->addWidget(totalSizeLabel);
    progressTextRow->addSpacing(8);
    progressTextRow->addWidget(speedLabel);
    progressTextRow->addWidget(speedValue);
    progressTextRow->addStretch();
    progressTextRow->addWidget(remainTimeLabel);
    progressTextRow->addWidget(remainTimeValue);

    auto* progressLayout = new QVBoxLayout(progressWidget);
    progressLayout->setSpacing(0);
    progressLayout->setContentsMargins(0, 0, 0, 12);
    progressLayout->addWidget(progressBar);
    progressLayout->addSpacing(4);
    progressLayout->addLayout(progressTextRow);

    mainLayout = new QVBoxLayout(content);
    mainLayout->setSpacing(0);
    mainLayout->setContentsMargins(24, 24, 24, 24);
    mainLayout->addLayout(mediaRow);
    mainLayout->addSpacing(12);
    mainLayout->addLayout(nameRow);
    mainLayout->addSpacing(12);
    mainLayout->addLayout(locationRow);
    mainLayout->addSpacing(4);
    mainLayout->addLayout(sizeRow);
    mainLayout->addSpacing(6);
    mainLayout->addLayout(noSpaceRow);
    mainLayout->addSpacing(14);
    mainLayout->addWidget(progressWidget);
    mainLayout->addWidget(packageButton, 0, Qt::AlignHCenter);

    progressWidget->hide();
    checkSpace();
}

void PackagePage::Impl::initConnect()
{
    connect(selectButton, &QAbstractButton::clicked, this, [this] { selectPackagePath(); });
    connect(usedMediasRadio, &QAbstractButton::clicked, this, [this] { updateSize(); });
    connect(allMediasRadio, &QAbstractButton::clicked, this, [this] { updateSize(); });
    connect(packageButton, &QAbstractButton::clicked, this, &Impl::optPackage);
    connect(locationEdit, &QLineEdit::textChanged, this, [this] { checkSpace(); });
    connect(nameEdit, &QLineEdit::editingFinished, this, [this] { restoreFolderName(); });
}

void PackagePage::Impl::translateLanguage()
{
    q->setTitle(trText(QStringLiteral("PackageSetting")));
    selectFilesLabel->setText(trText(QStringLiteral("SelectPackageFiles")));
    usedMediasRadio->setText(trText(QStringLiteral("UsedMedias")));
    allMediasRadio->setText(trText(QStringLiteral("AllMedias")));
    nameLabel->setText(trText(QStringLiteral("Name")));
    locationLabel->setText(trText(QStringLiteral("SelectLocation")));
    selectButton->setText(trText(QStringLiteral("Select")));
    fileSizeLabel->setText(trText(QStringLiteral("FileSize")));
    remainSpaceLabel->setText(trText(QStringLiteral("RemainPackageSpace")));
    // A switch while packaging or cancelling keeps the button telling the truth.
    packageButton->setText(buttonText(state));
    speedLabel->setText(trText(QStringLiteral("Speed")));
    remainTimeLabel->setText(trText(QStringLiteral("RemainTime")));
    noSpaceButton->setText(trText(QStringLiteral("NoSpace")));
    calculateSpace();
}

void PackagePage::Impl::relayoutLater()
{
    PackagePage* page = q;
    QTimer::singleShot(10, page, [page] {
        if (QLayout* layout = page->dialogWidget()->layout())
            layout->activate();
        if (QLayout* layout = page->layout())
            layout->activate();
        // Only the dialog is sized to its contents; sizing the content area
        // on its own left it narrower or wider than the dialog, depending on
        // the texts of the moment.
        page->adjustSize();
    });
}

void PackagePage::Impl::setMediaSize(const STPackageInfo& info)
{
    allMediasSize = info.allMediasSize;
    usedMediasSize = info.usedMediasSize;
    mediaList = info.mediaList;
    fileSizeValue->setText(formatSize(usedMediasSize, false));
    qDebug() << "package total size == " << fileSizeValue->text();
    allMediasRadio->setChecked(false);
    usedMediasRadio->setChecked(true);
    checkSpace();
    updateSize();
}

void PackagePage::Impl::updateSize()
{
    progress.setTotalSize(allMediasRadio->isChecked() ? allMediasSize : usedMediasSize);
    qWarning() << "--PROJECTFILEMGR-- Package Total Size == " << static_cast<quint64>(progress.totalSize());
    checkSpace();
    fileSizeValue->setText(formatSize(progress.totalSize(), false));
}

void PackagePage::Impl::checkSpace()
{
    const double freeMebibytes = calculateSpace();
    const std::uint64_t packageBytes = allMediasRadio->isChecked() ? allMediasSize : usedMediasSize;
    const bool isShort = spaceIsShort(freeMebibytes, packageBytes);
    if (noSpaceButton->isVisibleTo(q) != isShort) {
        noSpaceButton->setVisible(isShort);
        relayoutLater();
    }
    const QString style = isShort ? QStringLiteral("redTip") : QStringLiteral("normalTip");
    for (QLabel* label : {fileSizeLabel, fileSizeValue, remainSpaceLabel, remainSpaceValue}) {
        label->setProperty("style", style);
        repolish(label);
    }
    // While packaging the button is the way to cancel; while cancelling it waits for the host.
    if (state == State::Idle)
        packageButton->setEnabled(!isShort);
}

double PackagePage::Impl::calculateSpace()
{
    QString location = locationEdit->text();
    if (!QFileInfo::exists(location)) {
        qWarning() << "The previous path no longer exists!" << location;
        location = desktopFolder();
        // Setting the text runs the space check again for the new folder.
        locationEdit->setText(location);
        qWarning() << "Path changed to desktop!" << location;
    }
    std::uint64_t freeBytes = 0;
    int errorCode = 0;
    if (queryPackageFreeSpace(location.toStdString(), freeBytes, errorCode)) {
        qDebug() << "Available space: " << static_cast<quint64>(freeBytes) << " bytes";
    } else {
        // An unknown amount of space is treated as none, so nothing starts on a guess.
        qWarning() << "calculateSpace Error: " << errorCode;
        freeBytes = 0;
    }
    const std::uint64_t mebibytes = wholeMebibytes(freeBytes);
    remainSpaceValue->setText(QString::asprintf("%.1fG", static_cast<double>(mebibytes) / 1024.0));
    return static_cast<double>(mebibytes);
}

void PackagePage::Impl::selectPackagePath()
{
    QFileDialog dialog(nullptr);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setWindowTitle(trText(QStringLiteral("SelectFolder")));
    // Start where the package would go now, so a nearby folder is one step away.
    const QString location = locationEdit->text();
    dialog.setDirectory(QDir(QFileInfo(location).isDir() ? location : desktopFolder()).absolutePath());
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setAcceptDrops(true);
    dialog.setLabelText(QFileDialog::FileName, trText(QStringLiteral("NameInput")));
    dialog.setLabelText(QFileDialog::Reject, trText(QStringLiteral("Cancel")));
    dialog.setLabelText(QFileDialog::Accept, trText(QStringLiteral("OpenProject")));
    const bool accepted = dialog.exec() == QDialog::Accepted;
    const QStringList chosen = accepted ? dialog.selectedFiles() : QStringList();
    if (chosen.isEmpty() || chosen.first().isEmpty()) {
        qWarning() << "--PackageSetting--browse folder is empty!";
        return;
    }
    const QString path = chosen.first();
    if (!QFileInfo(path).isDir()) {
        qWarning() << "--PackageSetting--The selected folder is not a folder!";
        return;
    }
    if (!folderWritePermission(path.toStdString())) {
        vexa::widgets::TipDialog tip(vexa::widgets::TipWarning, nullptr);
        tip.setTipText(trText(QStringLiteral("NoPermission")));
        tip.run();
        qWarning() << "--ProjectSetting--have no permission to write file!";
        return;
    }
    // The same folder again changes no text, yet its free space may have
    // changed since: measure it anyway.
    if (path == locationEdit->text())
        checkSpace();
    else
        locationEdit->setText(path);
}

void PackagePage::Impl::restoreFolderName()
{
    if (nameEdit->text().isEmpty())
        nameEdit->setText(lastFolderName);
    else
        lastFolderName = nameEdit->text();
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
    const QString location = locationEdit->text();
    const QString packagePath = location + QLatin1Char('/') + nameEdit->text();
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
    packageInfo.allMedias = allMediasRadio->isChecked();

    totalSizeLabel->setText(QStringLiteral("/%1").arg(fileSizeValue->text()));
    writeSpeed = probeWriteSpeed(locationEdit->text().toStdString());
    speedValue->setText(formatSize(wholeBytes(writeSpeed), true));
    finishedSizeLabel->setText(QStringLiteral("0.0K"));

    qWarning() << "--PROJECTFILEMGR-- Notify Continue Package!";
    projectFileMgr->sigStopPackage(false);
    progress.restart(writeSpeed);
    startRefusal.clear();
    state = State::Packaging;
    Q_EMIT q->beginPackage(packageInfo, nameEdit->text(), locationEdit->text());
    if (startRefusal.isEmpty())
        return true;
    state = State::Idle;
    qWarning() << "--PROJECTFILEMGR-- package not started:" << startRefusal;
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
    progressBar->setValue(shown.percent);
    speedValue->setText(shown.texts.speed);
    finishedSizeLabel->setText(shown.texts.finishSpace);
    remainTimeValue->setText(shown.texts.remainTime);
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
    packageButton->setText(buttonText(state));
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
    for (QWidget* input : std::initializer_list<QWidget*>{nameEdit, locationEdit, selectButton, usedMediasRadio,
                                                          allMediasRadio})
        input->setEnabled(!packaging);
    packageButton->setText(buttonText(now));
    if (now == State::Idle)
        checkSpace();
    else
        packageButton->setEnabled(packaging);
    progressBar->setValue(0);
    remainTimeValue->setText(
        QTime::fromString(QStringLiteral("000000"), QStringLiteral("hhmmss")).toString(Qt::TextDate));
    if (!packaging) {
        totalSizeLabel->clear();
        finishedSizeLabel->clear();
        speedValue->clear();
    }
    progressWidget->setVisible(packaging);
    relayoutLater();
}

bool PackagePage::Impl::confirmClose()
{
    vexa::widgets::TipDialog tip(vexa::widgets::TipQuestion, nullptr);
    tip.setTipText(trText(QStringLiteral("ClosePackageTip")));
    tip.setBtnText(trText(QStringLiteral("OK")), trText(QStringLiteral("Cancel")), QString());
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
    d->initUI();
    d->initConnect();
}

PackagePage::~PackagePage()
{
    if (d->projectFileMgr) {
        qWarning() << "PackagePage destroyed with a projectFileMgr attached, detaching it";
        unsetProjectFileMgr();
    }
    d->nameEdit->removeEventFilter(this);
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
    d->nameEdit->setText(name);
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
    // Nothing of an earlier opening carries over, but a package still under way.
    if (d->state != Impl::State::Packaging) {
        d->state = Impl::State::Idle;
        d->setPackagingState();
    }
    d->closePending = false;
    vexa::widgets::Dialog::showEvent(event);
}

bool PackagePage::eventFilter(QObject* watched, QEvent* event)
{
    if (d && watched == d->nameEdit && event->type() == QEvent::FocusOut && d->nameEdit->text().isEmpty())
        d->nameEdit->setText(d->lastFolderName);
    return vexa::widgets::Dialog::eventFilter(watched, event);
}

void PackagePage::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && d && d->state == Impl::State::Packaging) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace projectfilemgr
} // namespace vexa

#include "packagepage.moc"
