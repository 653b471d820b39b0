#include "projectfilewidget.h"

#include "ajson.h"
#include "blockdialog.h"
#include "desktopfolder.h"
#include "controls.h"
#include "filelistwidget.h"
#include "framelessmainwindow.h"
#include "hxcutils.h"
#include "ihxruntime.h"
#include "iprojectfilemgr.h"
#include "listfile.h"
#include "loadingpage.h"
#include "packagepage.h"
#include "projectfilelist.h"
#include "qtcompat.h"
#include "runtimecall.h"
#include "screenhop.h"
#include "templatelistwidget.h"
#include "tipdialog.h"
#include "translatemanager.h"
#include "translator.h"
#include "vexaqutils.h"

#include <QVariant>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QListWidgetItem>
#include <QMetaType>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QStringView>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <regex>
#include <stdexcept>
#include <system_error>
#include <thread>
#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#include <time.h>
#endif

Q_DECLARE_METATYPE(vexa::projectfilemgr::STPackageInfo)
Q_DECLARE_METATYPE(vexa::projectfilemgr::STPackage)
Q_DECLARE_METATYPE(vexa::projectfilemgr::EnProjectOpenStatus)
Q_DECLARE_METATYPE(std::string)

#define VEXA_CALL_IN_RUNTIME(function, ...) callInRuntime(__FILE__, __LINE__, function, __VA_ARGS__)

namespace vexa {
namespace projectfilemgr {

namespace {

const char* const kExtension = ".ptr7";

// Organisation names opening the copyright line: Chinese as GBK bytes, English as ASCII.
const char kCompanyNameChinese[] = "\xCE\xAC\xBF\xCB\xC8\xF8\xCF\xD4\xCA\xBE\xCF\xB5\xCD\xB3\xD3\xD0\xCF\xDE\xB9\xAB\xCB\xBE";
const char kCompanyNameEnglish[] = "Vexa Display Systems Co., Ltd.";

// Existence as the recent list and the open request see it: a file or a
// folder, links followed. A failing check counts as missing.
bool pathExists(const std::string& path, std::error_code& error)
{
    error.clear();
    const bool exists = std::filesystem::exists(std::filesystem::u8path(path), error);
    return exists && !error;
}

void repolish(QWidget* widget)
{
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
}

// What a row and the sort keys need of a file: whether it exists, its size
// and the time of its last modification (seconds since the epoch). One stat
// per file.
struct FileFacts {
    bool exists = false;
    qint64 size = 0;
    qint64 modified = 0;
};

// Qt would ask the system for the time zone again on every local-time
// conversion; the caller reads it once for a batch of rows instead.
void readTimeZone()
{
#if defined(Q_OS_UNIX)
    tzset();
#endif
}

FileFacts factsOf(const std::string& path)
{
    FileFacts facts;
#if defined(Q_OS_UNIX)
    // The stored bytes, as the existence check at load uses them.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return facts;
    facts.exists = true;
    facts.size = static_cast<qint64>(status.st_size);
    facts.modified = static_cast<qint64>(status.st_mtime);
#else
    const QFileInfo info(QString::fromStdString(path));
    facts.exists = info.exists();
    if (facts.exists) {
        facts.size = info.size();
        facts.modified = info.lastModified().toSecsSinceEpoch();
    }
#endif
    return facts;
}

// An entry of the list as loaded, with what the sort needs of its file, read
// once at load: a click re-sorts thousands of rows without asking the disk
// about each. The rows in view read their files afresh for what they show.
struct ListedFile {
    std::string storedPath; // the identity of the entry, byte for byte
    QString path;
    QString imagePath;
    FileFacts facts;
    int nameStart = 0; // where the last path element begins in `path`
    bool damaged = false;
};

// The last element of a path, as QFileInfo::fileName gives it, without
// making a QFileInfo for each of thousands of entries.
int nameStartOf(const QString& path)
{
#if defined(Q_OS_WIN)
    return static_cast<int>(std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')))) + 1;
#else
    return static_cast<int>(path.lastIndexOf(QLatin1Char('/'))) + 1;
#endif
}

// The entries of a list with the facts of their files. Loading a long list is
// mostly waiting for these answers, one file at a time; the questions are
// independent, so a few threads share them, taking blocks of files as they
// go (a slow network folder holds up one block, not the whole share of a thread).
std::vector<ListedFile> listedOf(const std::vector<STProjectFile>& files)
{
    constexpr std::size_t kBlock = 64;
    constexpr std::size_t kFilesPerHelper = 512; // below this a thread costs more than it saves
    constexpr std::size_t kMaxHelpers = 3;
    const std::size_t count = files.size();
    std::vector<ListedFile> listed(count);
    std::atomic<std::size_t> next{0};
    auto work = [&files, &listed, &next, count] {
        for (;;) {
            const std::size_t begin = next.fetch_add(kBlock);
            if (begin >= count)
                return;
            const std::size_t end = std::min(count, begin + kBlock);
            for (std::size_t i = begin; i < end; ++i) {
                const STProjectFile& file = files[i];
                ListedFile& entry = listed[i];
                entry.storedPath = file.strProfilePath;
                entry.path = QString::fromStdString(file.strProfilePath);
                entry.imagePath = QString::fromStdString(file.strImagePath);
                entry.facts = factsOf(file.strProfilePath);
                entry.nameStart = nameStartOf(entry.path);
                entry.damaged = file.isDamageFile;
            }
        }
    };
    const auto cores = static_cast<std::size_t>(std::max(1, QThread::idealThreadCount()));
    const std::size_t wanted = std::min({count / kFilesPerHelper, cores - 1, kMaxHelpers});
    std::vector<std::thread> helpers;
    helpers.reserve(wanted);
    for (std::size_t i = 0; i < wanted; ++i) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // no thread to be had: the blocks left are done here
        }
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();
    return listed;
}

// The local time of the modification as "yyyy.MM.dd hh:mm:ss"; empty when
// there is no file.
QString modifyTimeText(const FileFacts& facts)
{
    if (!facts.exists)
        return QString();
#if defined(Q_OS_UNIX)
    const time_t seconds = static_cast<time_t>(facts.modified);
    struct tm local {};
    if (!localtime_r(&seconds, &local))
        return QString();
    return QString::asprintf("%04d.%02d.%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                             local.tm_hour, local.tm_min, local.tm_sec);
#else
    return QDateTime::fromSecsSinceEpoch(facts.modified).toString(QStringLiteral("yyyy.MM.dd hh:mm:ss"));
#endif
}

// Name, time and size of a row, from a fresh look at its file.
void completeRowTexts(STFileItem& item)
{
    const FileFacts facts = factsOf(item.filePath.toStdString());
    item.fileName = QFileInfo(item.filePath).fileName();
    item.modifyTime = modifyTimeText(facts);
    double size = static_cast<double>(facts.size) * 0.0009765625;
    QString unit = QStringLiteral("KB");
    if (size >= 1000.0) {
        size *= 0.0009765625;
        unit = QStringLiteral("MB");
    }
    item.fileSize = QString::number(size, 'f', 2) + unit;
}

// Whether `a` goes before `b` under a rule: the name as text, time and size
// as numbers. A missing file has the smallest time, as it had no time to compare.
bool listedBefore(int rule, const ListedFile& a, const ListedFile& b, bool descending)
{
    if (rule == 1) {
        const int order = QStringView(a.path).mid(a.nameStart).compare(QStringView(b.path).mid(b.nameStart));
        return descending ? order > 0 : order < 0;
    }
    auto number = [rule](const ListedFile& file) {
        if (rule == 2)
            return static_cast<double>(file.facts.size);
        if (rule == 0)
            return file.facts.exists ? static_cast<double>(file.facts.modified) : -std::numeric_limits<double>::infinity();
        return 0.0;
    };
    return descending ? number(a) > number(b) : number(a) < number(b);
}

// Reads the list file afresh before the page edits it: the host may have
// changed it since the page read it, and the page may never have read it (a
// project opened from the command line). A damaged file is kept aside and the
// list starts afresh (readListFile). False when there is nothing to edit or
// the file cannot be read; such a file is then left as it is. `whole` as
// readListFile gives it.
bool reloadListFile(STProjectFileList& doc, const QString& path, bool* whole = nullptr)
{
    if (!QFileInfo(path).isFile())
        return false;
    STProjectFileList current;
    if (!readListFile(path, current, whole))
        return false;
    doc.projects.swap(current.projects);
    return true;
}

} // namespace

class ProjectFileWidget::Impl : public QObject
{
    Q_OBJECT
public:
    explicit Impl(ProjectFileWidget* owner) : q(owner) {}

    ProjectFileWidget* q;
    IProjectFileMgr* projectFileMgr = nullptr;

    QLabel* iconLabel = nullptr;
    QLabel* appNameLabel = nullptr;
    QLabel* versionLabel = nullptr;
    QLabel* languageLabel = nullptr;
    vexa::widgets::ComboBox* languageComboBox = nullptr;
    QLabel* recentlyUsedLabel = nullptr;
    QLabel* projectSortingLabel = nullptr;
    TemplateListWidget* templateList = nullptr;
    vexa::widgets::ComboBox* sortComboBox = nullptr;
    vexa::widgets::PushButton* changeSortButton = nullptr;
    QLabel* lastProjectLabel = nullptr;
    QLabel* sceneTemplateLabel = nullptr;
    vexa::widgets::PushButton* newButton = nullptr;
    vexa::widgets::PushButton* openButton = nullptr;
    vexa::widgets::PushButton* quitButton = nullptr;
    QLabel* copyrightLabel = nullptr;
    QLabel* viewLabel = nullptr;
    QLabel* licenseLabel = nullptr;
    QLabel* commaLabel = nullptr;
    QLabel* privacyLabel = nullptr;
    QLabel* andLabel = nullptr;
    QLabel* thirdPartyLicenseLabel = nullptr;

    QString companyName;
    bool sortAscending = false;
    FileListWidget* fileListWidget = nullptr;
    // The entries as loaded, in the file's order; replaced whenever the list is read anew.
    std::vector<ListedFile> listedFiles;
    // The shown entries in display order, as indexes into listedFiles.
    std::vector<std::uint32_t> projectFiles;
    // The rule and direction projectFiles is sorted by; no rule after a load.
    int sortedRule = -1;
    bool sortedDescending = false;
    LoadingPage* loadingPage = nullptr;
    STPluginConfig pluginConfig;
    std::string curFilePath;
    int backupPathLength = -1;
    QString fileDialogStyle;
    QString autoSavePath;
    PackagePage* packagePage = nullptr;
    QString language;
    vexa::widgets::FramelessMainWindow* mainWindow = nullptr;
    vexa::widgets::BlockDialog* blockDialog = nullptr;
    STProjectFileList fileListDoc;
    bool lastOpenSucceeded = true;
    norvane::IHXRuntime* hxRuntime = nullptr;
    bool dragging = false;
    QPoint dragOffset;
    bool isSlave = false;
    std::function<bool()> replaceGuard;
    // Written by runtime notifications on the runtime's thread, read by run().
    std::atomic<bool> systemRestorePending{false};
    std::atomic<bool> _isProjectRestoreFinished{true};

    // The empty-list view laid over the recent list.
    QPointer<QLabel> emptyFileLabel;
    QPointer<QLabel> emptyFileText;

    bool mayReplace() const { return !replaceGuard || replaceGuard(); }

    void initUI();
    void initConnect();
    QLayout* createCutLine(bool horizontal) const;

    bool callInRuntime(const char* file, int line, const char* function, const std::function<void()>& call) const
    {
        return vexa::projectfilemgr::callInRuntime(hxRuntime, file, line, function, call);
    }

    // Why an open request was not made; Sent when it was.
    enum class OpenResult { Sent, NoManager, Missing, Refused };
    OpenResult openFile(const std::string& path);
    void disconnectManager();
    void showStartPage();
    void autoOpenLastProject();
    void dropRuntimeNotices();
    void onSystemRestoreWaitNotify(void*);
    void onSystemRestoreNotify(void*);

    void notifyOpenFinish(const std::string& filePath, EnProjectOpenStatus status, bool);
    void notifySaveFinish(const std::string& filePath);
    void notifyShowPackageDialog(const STPackageInfo& info);
    void notifyFinishPackage(bool isSuccess, const std::string& path);
    void notifyProhibitPackage();
    void notifyResetShortcut();

    // Recent list store.
    void initFileList();
    QString listFilePath() const;
    void addFileItem(const STProjectFile& file);
    void addFileItem(const STFileItem& item, bool damage);
    void showEmptyFileList();
    void hideEmptyFileList();
    void slotClearListFile(const std::string& path);
    void forgetProjectFile(const std::string& path);
    void markDamageFile(const QString& path);
    std::string imageFolderPath() const;
    void writeListFile(const QString& path);

    // Open, new and save flows.
    QString showSelectFileDialog() const;
    void setupFileDialog(QFileDialog* dialog) const;
    bool askCover() const;

    void moveToScreen(bool previous);
    void packageProject(STPackage packageInfo, const QString& folderName, const QString& location) const;

public Q_SLOTS:
    void onShowPackageDialog(const STPackageInfo& mediasInfo);
    void onOpenProjectFinish(const QString& filePath, const EnProjectOpenStatus flag);
    void onSaveProjectFinish(const QString& filePath);
    void onFinishPackage(const bool isSuccess, const std::string& path);
    void onShowProhibitPackageDialog();
    void onResetShortcut();
};

// ---------------------------------------------------------------------------
// Construction and page layout

ProjectFileWidget::ProjectFileWidget(QWidget* parent) : QDialog(parent), d(new Impl(this))
{
    setWindowModality(Qt::NonModal);
    setFixedSize(1080, 760);
    d->initUI();
    d->initConnect();
}

ProjectFileWidget::~ProjectFileWidget()
{
    // A host that forgets to detach must not get calls into a freed page.
    if (d->projectFileMgr) {
        qWarning() << "ProjectFileWidget destroyed with a projectFileMgr attached, detaching it";
        unsetProjectFileMgr();
    }
    if (d->hxRuntime) {
        qWarning() << "ProjectFileWidget destroyed with a hxRuntime attached, detaching it";
        unsetHXRuntime();
    }
    // The loading page and the package dialog have no parent; they go with the page.
    LoadingPage* loadingPage = d->loadingPage;
    PackagePage* packagePage = d->packagePage;
    delete d;
    d = nullptr;
    delete loadingPage;
    delete packagePage;
}

QLayout* ProjectFileWidget::Impl::createCutLine(bool horizontal) const
{
    auto* line = new QWidget;
    line->setObjectName(QStringLiteral("cutLine"));
    QBoxLayout* layout = nullptr;
    if (horizontal) {
        line->setFixedHeight(1);
        layout = new QHBoxLayout;
    } else {
        line->setFixedWidth(1);
        layout = new QVBoxLayout;
    }
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(line);
    return layout;
}

void ProjectFileWidget::Impl::initUI()
{
    q->setObjectName(QStringLiteral("mainWidget"));
    q->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);

    iconLabel = new QLabel(q);
    iconLabel->setFixedSize(80, 80);
    iconLabel->setProperty("labelImage", QStringLiteral("softIcon"));

    appNameLabel = new QLabel(QCoreApplication::applicationName().replace(QLatin1Char('_'), QLatin1Char(' ')), q);
    appNameLabel->setObjectName(QStringLiteral("appName"));

    versionLabel =
        new QLabel(QStringLiteral("V%1.%2.%3%4%5").arg(2).arg(4).arg(QString()).arg(0).arg(QString()), q);
    versionLabel->setObjectName(QStringLiteral("version"));

    languageLabel = new QLabel(q);
    languageLabel->setObjectName(QStringLiteral("languageLabel"));

    languageComboBox = new vexa::widgets::ComboBox(q);
    languageComboBox->setObjectName(QStringLiteral("languageComboBox"));
    languageComboBox->setFixedSize(120, 24);
    languageComboBox->addItem(trText(QStringLiteral("SimplifiedChinese")), QStringLiteral("zh_CN"));
    languageComboBox->addItem(trText(QStringLiteral("English")), QStringLiteral("en"));

    recentlyUsedLabel = new QLabel(q);
    projectSortingLabel = new QLabel(q);

    auto* sortCutLine = new QWidget(q);
    sortCutLine->setObjectName(QStringLiteral("cutLine"));
    sortCutLine->setFixedSize(1, 12);

    fileListWidget = new FileListWidget(q);
    fileListWidget->setFixedWidth(844);
    fileListWidget->setRowTexts([](STFileItem& item) {
        readTimeZone();
        completeRowTexts(item);
    });

    templateList = new TemplateListWidget(q);
    templateList->setObjectName(QStringLiteral("TemplateListWidget"));
    templateList->setFixedSize(860, 100);
    templateList->addTemplateItem(1);
    templateList->addTemplateItem(2);
    templateList->addTemplateItem(3);

    sortComboBox = new vexa::widgets::ComboBox(q);
    sortComboBox->setFixedWidth(120);
    sortComboBox->setProperty("style", QStringLiteral("transparent"));
    sortComboBox->addItem(QStringLiteral("lastOpenTime"), 0);
    sortComboBox->addItem(QStringLiteral("name"), 1);
    sortComboBox->addItem(QStringLiteral("size"), 2);

    changeSortButton = new vexa::widgets::PushButton(q);
    changeSortButton->setObjectName(QStringLiteral("changeSort"));
    changeSortButton->setFixedSize(20, 20);
    changeSortButton->setProperty("changeSortSelect", false);

    lastProjectLabel = new QLabel(QStringLiteral("Last Project"), q);
    lastProjectLabel->setObjectName(QStringLiteral("lastProject"));
    lastProjectLabel->setFixedHeight(14);
    lastProjectLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    sceneTemplateLabel = new QLabel(QStringLiteral("Scene Template"), q);
    sceneTemplateLabel->setObjectName(QStringLiteral("sceneTemplate"));
    sceneTemplateLabel->setFixedHeight(14);
    sceneTemplateLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto makeButton = [this](const char* name, const char* style) {
        auto* button = new vexa::widgets::PushButton(q);
        button->setObjectName(QLatin1String(name));
        button->setFixedSize(80, 28);
        button->setProperty("style", QLatin1String(style));
        return button;
    };
    newButton = makeButton("new", "general");
    openButton = makeButton("open", "assist");
    quitButton = makeButton("quit", "assist");

    copyrightLabel = new QLabel(QCoreApplication::organizationName(), q);
    copyrightLabel->setProperty("fontSize", QStringLiteral("L"));
    copyrightLabel->setAlignment(Qt::AlignHCenter);

    auto makeLegalLabel = [this](const char* name, bool link) {
        auto* label = new QLabel(q);
        if (name)
            label->setObjectName(QLatin1String(name));
        if (link)
            label->setProperty("style", QStringLiteral("highlightText"));
        label->setAlignment(Qt::AlignHCenter);
        return label;
    };
    viewLabel = makeLegalLabel(nullptr, false);
    licenseLabel = makeLegalLabel("license", true);
    commaLabel = makeLegalLabel(nullptr, false);
    privacyLabel = makeLegalLabel("privacy", true);
    andLabel = makeLegalLabel(nullptr, false);
    thirdPartyLicenseLabel = makeLegalLabel("thirdPartyLicense", true);
    licenseLabel->installEventFilter(q);
    privacyLabel->installEventFilter(q);
    thirdPartyLicenseLabel->installEventFilter(q);

    // Header: icon, name column, stretch, language column.
    auto* header = new QWidget(q);
    header->setFixedHeight(80);
    auto* headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(0, 0, 0, 0);
    headerLayout->setSpacing(12);
    auto* nameColumn = new QVBoxLayout;
    nameColumn->setContentsMargins(0, 4, 0, 12);
    nameColumn->setSpacing(0);
    nameColumn->addWidget(appNameLabel);
    nameColumn->addStretch(0);
    nameColumn->addWidget(versionLabel);
    auto* languageColumn = new QVBoxLayout;
    languageColumn->setContentsMargins(0, 4, 0, 4);
    languageColumn->setSpacing(0);
    auto* languageRow = new QHBoxLayout;
    languageRow->setContentsMargins(0, 0, 0, 0);
    languageRow->setSpacing(4);
    languageRow->addWidget(languageLabel);
    languageRow->addWidget(languageComboBox);
    languageColumn->addLayout(languageRow);
    languageColumn->addStretch(0);
    headerLayout->addWidget(iconLabel);
    headerLayout->addLayout(nameColumn);
    headerLayout->addStretch(0);
    headerLayout->addLayout(languageColumn);

    // Left column: sort row, templates, recent list.
    auto* sortRow = new QHBoxLayout;
    sortRow->setContentsMargins(0, 0, 0, 0);
    sortRow->setSpacing(4);
    sortRow->addWidget(recentlyUsedLabel);
    sortRow->addStretch(0);
    sortRow->addWidget(projectSortingLabel);
    sortRow->addWidget(sortCutLine);
    sortRow->addWidget(sortComboBox);
    sortRow->addWidget(changeSortButton);

    auto* templateRow = new QHBoxLayout;
    templateRow->setContentsMargins(0, 0, 0, 0);
    templateRow->addSpacing(-18);
    templateRow->addWidget(templateList);

    auto* listRow = new QHBoxLayout;
    listRow->setContentsMargins(0, 0, 0, 0);
    listRow->addSpacing(-18);
    listRow->addWidget(fileListWidget);

    auto* leftColumn = new QVBoxLayout;
    leftColumn->setContentsMargins(0, 0, 0, 0);
    leftColumn->setSpacing(12);
    leftColumn->addLayout(sortRow);
    leftColumn->addWidget(sceneTemplateLabel);
    leftColumn->addSpacing(-15);
    leftColumn->addLayout(templateRow);
    leftColumn->addSpacing(-5);
    leftColumn->addWidget(lastProjectLabel);
    leftColumn->addSpacing(10);
    leftColumn->addLayout(listRow);

    auto* buttonColumn = new QVBoxLayout;
    buttonColumn->setContentsMargins(40, 40, 40, 40);
    buttonColumn->setSpacing(40);
    buttonColumn->addStretch(0);
    buttonColumn->addWidget(newButton, 0, Qt::AlignHCenter);
    buttonColumn->addWidget(openButton, 0, Qt::AlignHCenter);
    buttonColumn->addWidget(quitButton, 0, Qt::AlignHCenter);
    buttonColumn->addStretch(0);

    auto* middleRow = new QHBoxLayout;
    middleRow->setSpacing(40);
    middleRow->addStretch(0);
    middleRow->addLayout(leftColumn);
    middleRow->addLayout(createCutLine(false));
    middleRow->addLayout(buttonColumn);
    middleRow->addStretch(0);

    auto* legalRow = new QHBoxLayout;
    legalRow->setContentsMargins(0, 0, 0, 0);
    legalRow->setSpacing(0);
    legalRow->addStretch(0);
    for (QLabel* label : {viewLabel, licenseLabel, commaLabel, privacyLabel, andLabel, thirdPartyLicenseLabel})
        legalRow->addWidget(label);
    legalRow->addStretch(0);

    auto* pageLayout = new QVBoxLayout(q);
    pageLayout->setContentsMargins(28, 28, 28, 28);
    pageLayout->setSpacing(20);
    pageLayout->addWidget(header);
    pageLayout->addLayout(createCutLine(true));
    pageLayout->addLayout(middleRow);
    pageLayout->addLayout(createCutLine(true));
    pageLayout->addWidget(copyrightLabel);
    pageLayout->addSpacing(-12);
    pageLayout->addLayout(legalRow);

    loadingPage = new LoadingPage(nullptr);
    packagePage = new PackagePage(nullptr);
    blockDialog = new vexa::widgets::BlockDialog(q);

    qRegisterMetaType<STPackageInfo>("STPackageInfo");
    qRegisterMetaType<STPackage>("STPackage");
    qRegisterMetaType<EnProjectOpenStatus>("EnProjectOpenStatus");
    qRegisterMetaType<std::string>("std::string");

    mainWindow = vexa::widgets::FramelessMainWindow::getMainWindow();
}

void ProjectFileWidget::Impl::initConnect()
{
    connect(changeSortButton, &QAbstractButton::clicked, q, &ProjectFileWidget::changeSortClicked);
    connect(newButton, &QAbstractButton::clicked, q, &ProjectFileWidget::newClicked);
    connect(openButton, &QAbstractButton::clicked, q, &ProjectFileWidget::openClicked);
    connect(quitButton, &QAbstractButton::clicked, q, &ProjectFileWidget::quitClicked);
    connect(fileListWidget, &QListWidget::itemDoubleClicked, q, &ProjectFileWidget::slotItemDoubleClicked);
    connect(fileListWidget, &FileListWidget::clearListFile, this, &Impl::slotClearListFile);
    connect(fileListWidget, &FileListWidget::askEmptyFileListItem, this, &Impl::showEmptyFileList);
    connect(fileListWidget, &FileListWidget::fileItemRemoved, this, &Impl::forgetProjectFile);
    connect(templateList, &QListWidget::itemDoubleClicked, q, &ProjectFileWidget::templateItemDoubleClicked);
    connect(sortComboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), q, &ProjectFileWidget::sortRuleChange);
    connect(
        languageComboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), q,
        [this](int index) {
            const QString code = languageComboBox->itemData(index, Qt::UserRole).toString();
            q->switchLanguage(code);
            Q_EMIT q->sigLanguageChanged(code);
        },
        Qt::DirectConnection);
    connect(
        loadingPage, &LoadingPage::initFinish, q,
        [this] {
            loadingPage->close();
            q->run();
        },
        Qt::DirectConnection);
    connect(packagePage, &PackagePage::beginPackage, this, &Impl::packageProject);
    if (mainWindow)
        connect(mainWindow, &vexa::widgets::FramelessMainWindow::signalHookMoveScreen, this, &Impl::moveToScreen);
}

// ---------------------------------------------------------------------------
// Manager and runtime

void ProjectFileWidget::setProjectFileMgr(IProjectFileMgr* projectFileMgr)
{
    if (!projectFileMgr) {
        qWarning() << "projectFileMgr is null";
        return;
    }
    if (!d->hxRuntime) {
        qWarning() << "hxRuntime is null, attach the runtime before the projectFileMgr";
        return;
    }
    if (d->projectFileMgr)
        unsetProjectFileMgr(); // one manager at a time, each slot connected once
    Impl* impl = d;
    const bool connected = d->VEXA_CALL_IN_RUNTIME("setProjectFileMgr", [projectFileMgr, impl] {
        projectFileMgr->sigShowPackageDialog.connect(&Impl::notifyShowPackageDialog, impl);
        projectFileMgr->sigPackageFinished.connect(&Impl::notifyFinishPackage, impl);
        projectFileMgr->sigOpenFinished.connect(&Impl::notifyOpenFinish, impl);
        projectFileMgr->sigSaveFinished.connect(&Impl::notifySaveFinish, impl);
        projectFileMgr->sigProhibitPackage.connect(&Impl::notifyProhibitPackage, impl);
        projectFileMgr->sigResetShortcut.connect(&Impl::notifyResetShortcut, impl);
    });
    // A page that keeps a manager it cannot hear would wait for answers forever.
    if (!connected) {
        qWarning() << "projectFileMgr not attached, the runtime refused the call";
        return;
    }
    d->projectFileMgr = projectFileMgr;
    if (!d->packagePage->setProjectFileMgr(projectFileMgr)) {
        qWarning() << "projectFileMgr not attached, the package page could not connect";
        d->disconnectManager();
        d->projectFileMgr = nullptr;
    }
}

void ProjectFileWidget::unsetProjectFileMgr()
{
    if (!d->projectFileMgr) {
        qWarning() << "projectFileMgr is null";
        return;
    }
    d->disconnectManager();
    d->packagePage->unsetProjectFileMgr();
    d->projectFileMgr = nullptr;
}

void ProjectFileWidget::Impl::disconnectManager()
{
    IProjectFileMgr* mgr = projectFileMgr;
    Impl* impl = this;
    vexa::projectfilemgr::callInRuntimeOrHere(hxRuntime, __FILE__, __LINE__, "unsetProjectFileMgr", [mgr, impl] {
        mgr->sigShowPackageDialog.disconnect(&Impl::notifyShowPackageDialog, impl);
        mgr->sigPackageFinished.disconnect(&Impl::notifyFinishPackage, impl);
        mgr->sigOpenFinished.disconnect(&Impl::notifyOpenFinish, impl);
        mgr->sigSaveFinished.disconnect(&Impl::notifySaveFinish, impl);
        mgr->sigProhibitPackage.disconnect(&Impl::notifyProhibitPackage, impl);
        mgr->sigResetShortcut.disconnect(&Impl::notifyResetShortcut, impl);
    });
}

void ProjectFileWidget::setHXRuntime(norvane::IHXRuntime* hxRuntime)
{
    if (!hxRuntime) {
        qWarning() << "hxRuntime is null";
        return;
    }
    // A runtime attached before must not keep handlers pointing at this page,
    // and the same one attached again must not call them twice.
    d->dropRuntimeNotices();
    d->hxRuntime = hxRuntime;
    d->packagePage->setHXRuntime(hxRuntime);
    Impl* impl = d;
    hxRuntime->registerNotify("OnSystemRestoreWait", "ProjectFileWidget::Impl::onSystemRestoreWaitNotify",
                              [impl](void* argument) { impl->onSystemRestoreWaitNotify(argument); }, impl, 3);
    hxRuntime->registerNotify("OnSystemRestore", "ProjectFileWidget::Impl::onSystemRestoreNotify",
                              [impl](void* argument) { impl->onSystemRestoreNotify(argument); }, impl, 3);
}

void ProjectFileWidget::unsetHXRuntime()
{
    if (!d->hxRuntime) {
        qWarning() << "hxRuntime is null";
        return;
    }
    d->dropRuntimeNotices();
    d->packagePage->unsetHXRuntime();
    d->hxRuntime = nullptr;
}

void ProjectFileWidget::Impl::dropRuntimeNotices()
{
    if (!hxRuntime)
        return;
    hxRuntime->unregisterNotify("OnSystemRestore", "ProjectFileWidget::Impl::onSystemRestoreNotify", this);
    hxRuntime->unregisterNotify("OnSystemRestoreWait", "ProjectFileWidget::Impl::onSystemRestoreWaitNotify", this);
}

void ProjectFileWidget::Impl::onSystemRestoreWaitNotify(void*)
{
    _isProjectRestoreFinished = false;
    systemRestorePending = true;
}

void ProjectFileWidget::Impl::onSystemRestoreNotify(void*)
{
    _isProjectRestoreFinished = false;
    systemRestorePending = true;
}

// The handlers run on the manager's threads: they only copy their arguments
// and queue the matching slot onto the GUI thread.
void ProjectFileWidget::Impl::notifyOpenFinish(const std::string& filePath, EnProjectOpenStatus status, bool)
{
    // curFilePath is assigned by the slot, on the GUI thread.
    QMetaObject::invokeMethod(this, "onOpenProjectFinish", Qt::QueuedConnection,
                              Q_ARG(QString, QString::fromStdString(filePath)),
                              Q_ARG(EnProjectOpenStatus, status));
}

void ProjectFileWidget::Impl::notifySaveFinish(const std::string& filePath)
{
    QMetaObject::invokeMethod(this, "onSaveProjectFinish", Qt::QueuedConnection,
                              Q_ARG(QString, QString::fromStdString(filePath)));
}

void ProjectFileWidget::Impl::notifyShowPackageDialog(const STPackageInfo& info)
{
    QMetaObject::invokeMethod(this, "onShowPackageDialog", Qt::QueuedConnection, Q_ARG(STPackageInfo, info));
}

void ProjectFileWidget::Impl::notifyFinishPackage(bool isSuccess, const std::string& path)
{
    QMetaObject::invokeMethod(this, "onFinishPackage", Qt::QueuedConnection, Q_ARG(bool, isSuccess),
                              Q_ARG(std::string, path));
}

void ProjectFileWidget::Impl::notifyProhibitPackage()
{
    QMetaObject::invokeMethod(this, "onShowProhibitPackageDialog", Qt::QueuedConnection);
}

void ProjectFileWidget::Impl::notifyResetShortcut()
{
    QMetaObject::invokeMethod(this, "onResetShortcut", Qt::QueuedConnection);
}

void ProjectFileWidget::Impl::onResetShortcut()
{
    Q_EMIT q->openProject();
}

// ---------------------------------------------------------------------------
// Start-up and opening

void ProjectFileWidget::run()
{
    const QStringList arguments = QCoreApplication::arguments();
    qDebug() << "QApplication::arguments().size(): " << arguments.size();

    if (arguments.size() > 1 && d->lastOpenSucceeded && !d->isSlave) {
        QString path = arguments.at(1);
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        qDebug() << "QApplication::arguments()[1]: " << arguments.at(1);
        const Impl::OpenResult result = d->openFile(path.toStdString());
        if (result == Impl::OpenResult::NoManager) {
            qWarning() << "projectFileMgr is nullptr!";
        } else if (result != Impl::OpenResult::Sent) {
            IProjectFileMgr* projectFileMgr = d->projectFileMgr;
            // The host must hear of the failure even when its runtime refuses calls.
            if (!d->VEXA_CALL_IN_RUNTIME("run", [projectFileMgr] { projectFileMgr->sigArgumentOpenFailed(); })) {
                qWarning() << "the runtime refused sigArgumentOpenFailed, raised directly";
                projectFileMgr->sigArgumentOpenFailed();
            }
            // No open is coming, so leave the user a window to work from.
            if (result == Impl::OpenResult::Refused) {
                d->initFileList();
                d->showStartPage();
            }
        }
        return;
    }

    if (d->systemRestorePending) {
        qWarning() << "systemRestore will begin!";
        d->systemRestorePending = false;
        Q_EMIT systemRestore();
        if (d->_isProjectRestoreFinished)
            return;
        qWarning() << "_isProjectRestoreFinished is false!";
        setBlockDialogVisible(true, true);
        return;
    }

    d->initFileList();
    if (d->pluginConfig.autoOpenCurrentProject && !d->projectFiles.empty() && d->lastOpenSucceeded && !d->isSlave) {
        d->autoOpenLastProject();
        return;
    }
    d->showStartPage();
}

void ProjectFileWidget::Impl::showStartPage()
{
    qWarning() << "show projectflie widget!";
    fileListWidget->switchLanguage(language);
    q->show();
}

void ProjectFileWidget::Impl::autoOpenLastProject()
{
    if (projectFiles.empty())
        return;
    const std::string path = listedFiles[projectFiles.front()].storedPath;
    qWarning() << "will open LastProject , path is " << path.c_str();
    openFile(path);
}

void ProjectFileWidget::slotItemDoubleClicked(QListWidgetItem* item)
{
    if (!item)
        return;
    // The row holds its project whether or not a tile shows it now.
    const std::string path = FileListWidget::filePathOf(item);
    if (!path.empty() && !FileListWidget::isDamaged(item) && d->mayReplace())
        d->openFile(path);
}

void ProjectFileWidget::setReplaceGuard(std::function<bool()> guard)
{
    d->replaceGuard = std::move(guard);
}

ProjectFileWidget::Impl::OpenResult ProjectFileWidget::Impl::openFile(const std::string& path)
{
    if (!projectFileMgr) {
        qWarning() << "projectFileMgr is nullptr!";
        return OpenResult::NoManager;
    }
    std::error_code error;
    if (!pathExists(path, error)) {
        qWarning() << "This path not exist project file!" << path.c_str();
        vexa::widgets::TipDialog tip(vexa::widgets::TipMessage, nullptr);
        tip.setTipText(trText(QStringLiteral("NullFileTip")));
        tip.run();
        return OpenResult::Missing;
    }

    qWarning() << "projectFile will openFile path is " << path.c_str();
    const std::string previousPath = curFilePath;
    curFilePath = path;
    Q_EMIT q->openProject();

    IProjectFileMgr* mgr = projectFileMgr;
    if (!VEXA_CALL_IN_RUNTIME("openFile", [mgr, path] { mgr->loadProject(path, unserializeType(1)); })) {
        // No answer will come, so the busy dialog would never close.
        qWarning() << "open request not made, the runtime refused the call:" << path.c_str();
        curFilePath = previousPath;
        return OpenResult::Refused;
    }
    q->setBlockDialogVisible(true, true);
    return OpenResult::Sent;
}

void ProjectFileWidget::Impl::onOpenProjectFinish(const QString& filePath, const EnProjectOpenStatus flag)
{
    curFilePath = filePath.toStdString();
    qWarning() << "--PROJECTFILE--, project file open finish ::" << filePath << "project open status is "
               << static_cast<int>(flag);
    lastOpenSucceeded = (flag == Success);
    q->setBlockDialogVisible(true, false);
    if (projectFileMgr)
        projectFileMgr->sigOpenFinishReceived();

    if (flag == FileDamage) {
        markDamageFile(filePath);
        vexa::widgets::TipDialog tip(vexa::widgets::TipMessage, nullptr);
        tip.setTipText(trText(QStringLiteral("FileDamage")));
        tip.run();
        Q_EMIT q->showProjectMgrWidget();
        return;
    }
    const int cut = std::max(filePath.lastIndexOf(QLatin1Char('/')), filePath.lastIndexOf(QLatin1Char('\\')));
    Q_EMIT q->modifyProjectName(filePath.mid(cut + 1));
}

// ---------------------------------------------------------------------------
// Busy dialog, configuration, closing

void ProjectFileWidget::setBlockDialogVisible(const bool isLoading, const bool visible)
{
    vexa::widgets::BlockDialog* blockDialog = d->blockDialog;
    if (visible) {
        blockDialog->setTipText(trText(isLoading ? QStringLiteral("Loading") : QStringLiteral("Saving")));
        if (blockDialog->isVisible())
            return; // already running modally further up the stack
        QTimer::singleShot(50, blockDialog, [blockDialog] { blockDialog->raise(); });
        qWarning() << "projectFile blockDialog will be show!";
        blockDialog->exec();
        return;
    }
    d->_isProjectRestoreFinished = true;
    if (!blockDialog->isVisible())
        return;
    qWarning() << "projectFile blockDialog will be close!";
    QTimer::singleShot(50, blockDialog, [blockDialog] { blockDialog->close(); });
}

void ProjectFileWidget::setConfig(const STPluginConfig& config)
{
    qDebug() << "--PROJECTFILE-- isCloseTip == " << config.isCloseTip << "  open default play status == "
             << config.openDefaultPlay << "  auto open current project == " << config.autoOpenCurrentProject;
    d->pluginConfig = config;
}

void ProjectFileWidget::timeChanged(const STPluginConfig& config)
{
    qDebug() << "--PROJECTFILE-- auto save setting status == " << config.autoSave << "  time interval == "
             << config.timeInterval << "  max save counts == " << config.maxSaveCounts << "  auto save path == "
             << QString::fromStdString(config.autoSavePath);
    d->pluginConfig = config;
}

void ProjectFileWidget::setAutoSavePath(const QString& path)
{
    d->autoSavePath = path;
}

void ProjectFileWidget::setBackupPathLength(int length)
{
    d->backupPathLength = length;
}

void ProjectFileWidget::setIsSlave(bool isSlave)
{
    d->isSlave = isSlave;
}

void ProjectFileWidget::quitClicked()
{
    setVisible(false);
    Q_EMIT quitApp();
}

void ProjectFileWidget::closeEvent(QCloseEvent* event)
{
    Q_EMIT quitApp();
    QWidget::closeEvent(event);
}

// ---------------------------------------------------------------------------
// Open, new and save flows

void ProjectFileWidget::showWarningTip(const QString& text) const
{
    vexa::widgets::TipDialog tip(vexa::widgets::TipMessage, nullptr);
    tip.setTipText(text);
    tip.run();
}

void ProjectFileWidget::Impl::setupFileDialog(QFileDialog* dialog) const
{
    if (!dialog)
        return;
    // Qt's own dialog, so the host's style sheet and tests reach it.
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setDirectory(desktopFolder());
    dialog->setViewMode(QFileDialog::Detail);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog->setAcceptDrops(false);
    dialog->setLabelText(QFileDialog::FileName, trText(QStringLiteral("Name")));
    dialog->setLabelText(QFileDialog::FileType, trText(QStringLiteral("FileType")));
    dialog->setLabelText(QFileDialog::Reject, trText(QStringLiteral("Cancel")));
    dialog->setLabelText(QFileDialog::Accept, trText(QStringLiteral("OK")));
}

void ProjectFileWidget::openClicked()
{
    if (!d->mayReplace())
        return;
    const QString filter = QStringLiteral("*%1").arg(QLatin1String(kExtension), 0, QLatin1Char(' '));
    QStringList selection;
    try {
        QFileDialog dialog(nullptr, QString(), QString(), QString());
        d->setupFileDialog(&dialog);
        dialog.setNameFilter(filter);
        dialog.setWindowTitle(trText(QStringLiteral("ChooseFile")));
        if (dialog.exec() == QDialog::Accepted)
            selection = dialog.selectedFiles();
    } catch (...) {
        qDebug() << "fileDialog.exec Exception";
        selection.clear();
    }
    if (selection.isEmpty() || selection.first().isEmpty()) {
        qWarning() << "projectFile path is empty!";
        return;
    }
    d->openFile(selection.first().toStdString());
}

QString ProjectFileWidget::Impl::showSelectFileDialog() const
{
    QPointer<vexa::widgets::FramelessMainWindow> window = vexa::widgets::FramelessMainWindow::getMainWindow();

    const QString filter = QStringLiteral("%1(*%2)").arg(QStringLiteral("file"), QLatin1String(kExtension));
    const QString proposedName = QStringLiteral("/%1-%2").arg(
        QStringLiteral("project"), QDateTime::currentDateTime().toString(QStringLiteral("MM-dd-hh-mm-ss")));
    const QString desktop = desktopFolder();
    // The extension is a literal suffix in any case, as it is the same file
    // type on every system the host runs on; the user's spelling is kept. The
    // first character of a name may not be a dot, and no character may be a
    // path separator or one of ?"<>|.
    static const std::regex extensionTest(R"(.+\.ptr7$)", std::regex::ECMAScript | std::regex::icase);
    static const std::regex nameTest(R"(^[^.\\/?"<>|]{1}[^/\\?"<>|]*\.ptr7$)",
                                     std::regex::ECMAScript | std::regex::icase);

    QString result;
    for (;;) {
        QFileDialog dialog(nullptr);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        setupFileDialog(&dialog);
        dialog.setWindowTitle(trText(QStringLiteral("ChooseSaveDir")));
        dialog.selectFile(desktop + proposedName);
        dialog.setNameFilter(filter);

        if (window)
            window->setActivateEnabled(false);
        if (dialog.exec() != QDialog::Accepted) {
            result.clear();
            break;
        }
        const QStringList selection = dialog.selectedFiles();
        if (selection.isEmpty() || selection.first().isEmpty()) {
            result.clear();
            break;
        }
        result = selection.first();

        QString folder = result;
        while (!QDir(folder).exists()) {
            const int cut = folder.lastIndexOf(QLatin1Char('/'));
            if (cut < 0)
                break;
            folder = folder.left(cut);
            // A name right below the root leaves the root itself, not an empty text.
            if (QDir(folder + QLatin1Char('/')).isRoot())
                folder += QLatin1Char('/');
        }
        QString fileName = result.mid(folder.size() + (folder.endsWith(QLatin1Char('/')) ? 0 : 1));
        qDebug() << "file name is :" << fileName;

        // The regex engine recurses once per character: a pasted path of some
        // thousand characters would overflow the stack. A result that long is
        // refused below whatever its ending, so a plain suffix test does there.
        const bool hasExtension = result.size() < 260
                                      ? std::regex_match(fileName.toStdString(), extensionTest)
                                      : fileName.size() > 5 &&
                                            fileName.endsWith(QLatin1String(kExtension), Qt::CaseInsensitive);
        if (!hasExtension) {
            fileName += QLatin1String(kExtension);
            result += QLatin1String(kExtension);
        }

        // A name of spaces only makes a file that shows no title anywhere.
        const bool blankName = fileName.chopped(int(qstrlen(kExtension))).trimmed().isEmpty();
        if (result.size() >= 260 || fileName.size() + 4 + backupPathLength >= 260 || blankName ||
            !std::regex_match(fileName.toStdString(), nameTest)) {
            qWarning() << fileName << " :fileName have illegal character";
            q->showWarningTip(trText(QStringLiteral("FileNameTip")));
            result.clear();
            continue;
        }
        if (!folderWritePermission(folder.toStdString())) {
            qWarning() << " This Dir have no permission!";
            q->showWarningTip(trText(QStringLiteral("NoPermission")));
            result.clear();
            continue;
        }
        break;
    }

    QTimer::singleShot(100, [window] {
        if (window)
            window->setActivateEnabled(true);
    });
    return result;
}

bool ProjectFileWidget::Impl::askCover() const
{
    vexa::widgets::TipDialog tip(vexa::widgets::TipQuestion, nullptr);
    tip.setTipText(trText(QStringLiteral("WhetherCover")));
    tip.setBtnText(trText(QStringLiteral("OK")), trText(QStringLiteral("Cancel")), QString());
    const int code = tip.run().buttonCode;
    return code != 0 && code != 2;
}

void ProjectFileWidget::newClicked()
{
    if (!d->mayReplace())
        return;
    const QString path = d->showSelectFileDialog();
    if (path.isEmpty()) {
        qWarning() << "open select file dialog failure!";
        return;
    }
    qDebug() << "new project file path is " << path;
    if ((QFileInfo::exists(path) || path.toStdString() == d->curFilePath) && !d->askCover())
        return;

    Q_EMIT newProject();
    if (!d->projectFileMgr) {
        qWarning() << "new projectFile failed!";
        return;
    }
    const std::string previousPath = d->curFilePath;
    d->curFilePath = path.toStdString();
    const int row = d->templateList->currentRow();
    const TemplateType type = static_cast<TemplateType>(row < 0 ? 1 : row + 1);
    IProjectFileMgr* mgr = d->projectFileMgr;
    const std::string filePath = d->curFilePath;
    if (!d->VEXA_CALL_IN_RUNTIME("newClicked", [mgr, filePath, type] { mgr->createProject(filePath, type); })) {
        // No answer will come, so the busy dialog would never close.
        qWarning() << "create request not made, the runtime refused the call:" << path;
        d->curFilePath = previousPath;
        return;
    }
    setBlockDialogVisible(true, true);
}

void ProjectFileWidget::saveProject()
{
    if (!d->projectFileMgr) {
        qWarning() << "new projectFile failed!";
        return;
    }
    if (d->curFilePath.empty()) {
        qWarning() << "curFilePath is empty, save project failed!";
        return;
    }
    STProjectFile record;
    record.strProfilePath = d->curFilePath;
    record.strImagePath = d->imageFolderPath();
    IProjectFileMgr* mgr = d->projectFileMgr;
    d->VEXA_CALL_IN_RUNTIME("saveProject", [mgr, record] { mgr->writeProject(record, false); });
}

void ProjectFileWidget::saveAsProject() const
{
    const QString path = d->showSelectFileDialog();
    if (path.isEmpty()) {
        qWarning() << "open select file dialog failure!";
        return;
    }
    qDebug() << "saveAs project file path is " << path;
    if (QFileInfo::exists(path) && !d->askCover())
        return;
    if (!d->projectFileMgr) {
        qWarning() << "projectFileMgr is nullptr!";
        return;
    }
    STProjectFile record;
    record.strProfilePath = path.toStdString();
    record.strImagePath = d->imageFolderPath();
    IProjectFileMgr* mgr = d->projectFileMgr;
    d->VEXA_CALL_IN_RUNTIME("saveAsProject", [mgr, record] { mgr->writeProject(record, true); });
}

void ProjectFileWidget::Impl::onSaveProjectFinish(const QString& filePath)
{
    qWarning() << "--PROJECTFILE--, project file save finish ::" << filePath;
    q->setBlockDialogVisible(false, false);
    Q_EMIT q->checkRemainSpace();
}

void ProjectFileWidget::templateItemDoubleClicked(QListWidgetItem*)
{
    newClicked();
}

// ---------------------------------------------------------------------------
// Recent list store

QString ProjectFileWidget::Impl::listFilePath() const
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/%1.json").arg(QStringLiteral("Norvane_TR7_Pro"), 0, QLatin1Char(' '));
}

std::string ProjectFileWidget::Impl::imageFolderPath() const
{
    const QString path = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                         QStringLiteral("/%1/").arg(QStringLiteral("Image"));
    QDir folder(path);
    // The data folder itself may not exist yet on a first run.
    if (!folder.exists())
        folder.mkpath(QStringLiteral("."));
    return path.toStdString();
}

void ProjectFileWidget::Impl::writeListFile(const QString& path)
{
    try {
        saveListFile(path, ajson::toJson(fileListDoc));
    } catch (const ajson::exception& e) {
        qCritical() << "saveToFile error: " << e.what() << " from:" << path;
    }
}

void ProjectFileWidget::Impl::initFileList()
{
    const QString path = listFilePath();
    fileListDoc.projects.clear();
    projectFiles.clear();
    // Rows find their entries by index: the entries change only with the
    // rows. Rows of an earlier load go whatever this one finds, so a list file
    // gone since then does not leave its projects on the page.
    fileListWidget->clear();
    listedFiles.clear();
    sortedRule = -1;

    if (!QFileInfo(path).isFile()) {
        showEmptyFileList();
        return;
    }
    bool whole = false;
    if (!reloadListFile(fileListDoc, path, &whole))
        return;

    std::vector<STProjectFile>& projects = fileListDoc.projects;
    listedFiles = listedOf(projects);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < projects.size(); ++i) {
        // The facts the sort needs come from the same look at the disk.
        std::error_code error;
        if (!listedFiles[i].facts.exists && !pathExists(projects[i].strProfilePath, error)) {
            qWarning() << "projectFile: " << projects[i].strProfilePath.c_str() << " is empty file! error code is"
                       << error.message().c_str();
            continue;
        }
        if (kept != i) {
            projects[kept] = std::move(projects[i]);
            listedFiles[kept] = std::move(listedFiles[i]);
        }
        ++kept;
    }
    // A list read whole with nothing pruned needs no writing back: making its
    // text costs a long list more than the rest of the load.
    const bool changed = !whole || kept != projects.size();
    projects.erase(projects.begin() + static_cast<std::ptrdiff_t>(kept), projects.end());
    listedFiles.erase(listedFiles.begin() + static_cast<std::ptrdiff_t>(kept), listedFiles.end());

    // The sort below builds the rows, in their order: building them here
    // first would cost a long list twice.
    for (std::uint32_t i = 0; i < listedFiles.size(); ++i) {
        // The plain form costs a long list far less than a stream per line.
        qWarning("list add projectFile:  %s", listedFiles[i].storedPath.c_str());
        projectFiles.push_back(i);
    }

    try {
        // A failed write is logged there; the rows read are shown all the same.
        if (changed)
            saveListFile(path, ajson::toJson(fileListDoc));
    } catch (const ajson::exception& e) {
        qCritical() << "saveToFile error: " << e.what() << " from:" << path;
        // Shown unsorted, as read.
        for (const STProjectFile& file : projects)
            addFileItem(file);
        return;
    }
    if (projectFiles.empty())
        showEmptyFileList();
    q->sortRuleChange();
}

void ProjectFileWidget::Impl::addFileItem(const STProjectFile& file)
{
    STFileItem item;
    item.filePath = QString::fromStdString(file.strProfilePath);
    item.imagePath = QString::fromStdString(file.strImagePath);
    readTimeZone();
    completeRowTexts(item);
    addFileItem(item, file.isDamageFile);
}

void ProjectFileWidget::Impl::addFileItem(const STFileItem& item, bool damage)
{
    hideEmptyFileList();
    // Its tile, once it has one, speaks the page's current language.
    fileListWidget->addFileListItem(item, damage);
}

void ProjectFileWidget::Impl::hideEmptyFileList()
{
    if (QLayout* old = fileListWidget->layout()) {
        delete emptyFileLabel;
        delete emptyFileText;
        delete old;
    }
}

void ProjectFileWidget::Impl::showEmptyFileList()
{
    // A second call replaces the first view instead of stacking another one.
    hideEmptyFileList();
    auto* layout = new QVBoxLayout(fileListWidget);
    emptyFileLabel = new QLabel(fileListWidget);
    emptyFileLabel->setObjectName(QStringLiteral("emptyFileLabel"));
    emptyFileLabel->setFixedSize(110, 110);
    emptyFileText = new QLabel(trText(QStringLiteral("EmptyFileList")), fileListWidget);
    emptyFileText->setObjectName(QStringLiteral("emptyFileText"));
    layout->addStretch(0);
    layout->addWidget(emptyFileLabel, 0, Qt::AlignHCenter | Qt::AlignVCenter);
    layout->addWidget(emptyFileText, 0, Qt::AlignHCenter | Qt::AlignVCenter);
    layout->addStretch(0);
    emptyFileLabel->show();
    emptyFileText->show();
}

void ProjectFileWidget::Impl::slotClearListFile(const std::string& path)
{
    const QString listPath = listFilePath();
    if (!reloadListFile(fileListDoc, listPath))
        return;
    std::vector<STProjectFile> kept;
    for (const STProjectFile& file : fileListDoc.projects) {
        if (file.strProfilePath == path)
            qWarning() << "list projectFile: " << path.c_str() << " will be clear!";
        else
            kept.push_back(file);
    }
    fileListDoc.projects.swap(kept);
    writeListFile(listPath);
}

void ProjectFileWidget::Impl::forgetProjectFile(const std::string& path)
{
    // A row taken out by the user stays out when the list is re-sorted.
    projectFiles.erase(std::remove_if(projectFiles.begin(), projectFiles.end(),
                                      [this, &path](std::uint32_t i) { return listedFiles[i].storedPath == path; }),
                       projectFiles.end());
}

void ProjectFileWidget::Impl::markDamageFile(const QString& path)
{
    const std::string target = path.toStdString();
    forgetProjectFile(target);
    const QString listPath = listFilePath();
    if (!reloadListFile(fileListDoc, listPath))
        return;
    for (STProjectFile& file : fileListDoc.projects) {
        if (file.strProfilePath == target)
            file.isDamageFile = true;
    }
    writeListFile(listPath);
}

void ProjectFileWidget::addSingleProfile(const STProjectFile& file)
{
    d->addFileItem(file);
}

void ProjectFileWidget::addTagProProfile(const std::vector<STProjectFile>& files) const
{
    for (const STProjectFile& file : files)
        d->addFileItem(file);
}

std::string ProjectFileWidget::getItemFilePath(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= d->projectFiles.size())
        return std::string();
    return d->listedFiles[d->projectFiles[static_cast<std::size_t>(index)]].storedPath;
}

// ---------------------------------------------------------------------------
// Sorting

void ProjectFileWidget::sortRuleChange()
{
    const int rule = d->sortComboBox->currentData(Qt::UserRole).toInt();
    const bool descending = !d->sortAscending;
    std::vector<std::uint32_t>& order = d->projectFiles;
    const std::vector<ListedFile>& listed = d->listedFiles;

    // The keys come from what was read of each file when the list was
    // loaded, so a list sorted by this rule before only needs turning round
    // for the other direction (equal keys have no order to keep).
    if (d->sortedRule != rule) {
        std::sort(order.begin(), order.end(), [&listed, rule, descending](std::uint32_t a, std::uint32_t b) {
            return listedBefore(rule, listed[a], listed[b], descending);
        });
    } else if (d->sortedDescending != descending) {
        std::reverse(order.begin(), order.end());
    }
    d->sortedRule = rule;
    d->sortedDescending = descending;

    FileListWidget* list = d->fileListWidget;
    const bool hadRows = list->count() > 0;
    list->clearSelection();
    list->scrollToTop();

    // Rows of the entries still shown move to their new places; their texts
    // are read afresh once they are in view, as for a new row.
    std::vector<FileRow> previous = list->takeRows();
    std::vector<FileRow*> rowOf(listed.size(), nullptr);
    for (FileRow& row : previous) {
        if (row.source < rowOf.size())
            rowOf[row.source] = &row;
    }
    std::vector<FileRow> rows(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        FileRow& row = rows[i];
        if (FileRow* old = rowOf[order[i]]) {
            row = std::move(*old);
        } else {
            const ListedFile& file = listed[order[i]];
            row.info.filePath = file.path;
            row.info.imagePath = file.imagePath;
            row.damage = file.damaged;
            row.source = order[i];
        }
        row.textsPending = true;
    }

    if (!rows.empty())
        d->hideEmptyFileList();
    list->setRows(std::move(rows));
    // Rows that only a damaged entry or a failed open kept alive are gone now:
    // say the list is empty instead of leaving a blank area.
    if (hadRows && d->fileListWidget->count() == 0)
        d->showEmptyFileList();
    order.erase(std::remove_if(order.begin(), order.end(), [&listed](std::uint32_t i) { return listed[i].damaged; }),
                order.end());
}

void ProjectFileWidget::changeSortClicked()
{
    d->sortAscending = !d->sortAscending;
    d->changeSortButton->setProperty("changeSortSelect", d->sortAscending);
    repolish(d->changeSortButton);
    sortRuleChange();
}

// ---------------------------------------------------------------------------
// Look, placement, window behaviour

void ProjectFileWidget::setVersionText(QString version) const
{
    d->versionLabel->setText(version);
}

void ProjectFileWidget::setProjectstyleSheet(const QString& styleSheet)
{
    setStyleSheet(styleSheet);
    d->loadingPage->setStyleSheet(styleSheet);
    d->packagePage->setStyleSheet(styleSheet);
}

void ProjectFileWidget::refRect(QRect& rect)
{
    const QPoint centre = rect.center();
    move(centre.x() - width() / 2, centre.y() - height() / 2);
    d->loadingPage->refRect(rect);
}

void ProjectFileWidget::setFileDialogStyleSheet(const QString& styleSheet)
{
    d->fileDialogStyle = styleSheet;
}

QString ProjectFileWidget::getFileDialogStyle() const
{
    return d->fileDialogStyle;
}

void ProjectFileWidget::showLoadingPage() const
{
    d->loadingPage->showLoadingPage();
}

void ProjectFileWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        d->dragging = true;
        d->dragOffset = vexa::qtcompat::globalPos(event) - frameGeometry().topLeft();
        event->accept();
    }
}

void ProjectFileWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (d->dragging && (event->buttons() & Qt::LeftButton)) {
        move(vexa::qtcompat::globalPos(event) - d->dragOffset);
        event->accept();
    }
}

void ProjectFileWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        d->dragging = false;
        event->accept();
    }
}

void ProjectFileWidget::keyPressEvent(QKeyEvent* event)
{
    // Escape never closes or rejects the page.
    if (event->key() == Qt::Key_Escape)
        return;
    QWidget::keyPressEvent(event);
}

void ProjectFileWidget::Impl::moveToScreen(bool previous)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    QScreen* current = q->screen();
    if (!q->isVisible() || !current || screens.size() < 2)
        return;
    QVector<QRect> geometries;
    for (const QScreen* screen : screens)
        geometries.append(screen->geometry());
    const std::optional<QPoint> target = screenHopTarget(geometries, screens.indexOf(current), q->size(), previous);
    if (!target)
        return;
    q->move(*target);
    q->raise();
    q->activateWindow();
}

// ---------------------------------------------------------------------------
// Language

void ProjectFileWidget::loadLanguageFiles(const std::vector<QString>& files) const
{
    for (const QString& file : files)
        TranslateManager::instance().translator().load(file);
}

void ProjectFileWidget::switchLanguage(const QString& language)
{
    TranslateManager::instance().translator().switchLanguage(language);
    d->language = language;
    for (int index = 0; index < d->languageComboBox->count(); ++index) {
        if (d->languageComboBox->itemData(index, Qt::UserRole).toString() == language) {
            d->languageComboBox->setCurrentIndex(index);
            break;
        }
    }
    d->loadingPage->switchLanguage(language);
    d->packagePage->switchLanguage(language);
    translateLanguage();
}

void ProjectFileWidget::translateLanguage()
{
    d->languageLabel->setText(trText(QStringLiteral("Language")));
    d->languageComboBox->setItemText(0, trText(QStringLiteral("SimplifiedChinese")));
    d->languageComboBox->setItemText(1, trText(QStringLiteral("English")));
    d->recentlyUsedLabel->setText(trText(QStringLiteral("RecentlyUsedItem")));
    d->projectSortingLabel->setText(trText(QStringLiteral("ProjectSorting")));
    if (d->emptyFileText)
        d->emptyFileText->setText(trText(QStringLiteral("EmptyFileList")));
    d->sortComboBox->setItemText(0, trText(QStringLiteral("OpenTimeInput")));
    d->sortComboBox->setItemText(1, trText(QStringLiteral("NameInput")));
    d->sortComboBox->setItemText(2, trText(QStringLiteral("SizeInput")));
    d->newButton->setText(trText(QStringLiteral("NewBulid")));
    d->openButton->setText(trText(QStringLiteral("OpenProject")));
    d->quitButton->setText(trText(QStringLiteral("ExitProject")));
    d->blockDialog->setTipText(trText(QStringLiteral("Loading")));
    d->sceneTemplateLabel->setText(trText(QStringLiteral("SceneTemplate")));
    d->lastProjectLabel->setText(trText(QStringLiteral("LastProject")));
    d->templateList->translateLanguage();
    // The tiles already shown, not only those a later sort fills.
    d->fileListWidget->translateLanguage();

    const QString code = d->language.toLower();
    if (code == QLatin1String("zh_cn"))
        d->companyName = vexa::qtcompat::fromGbk(kCompanyNameChinese);
    if (code == QLatin1String("en"))
        d->companyName = vexa::qtcompat::fromGbk(kCompanyNameEnglish);
    d->copyrightLabel->setText(d->companyName + trText(QStringLiteral("CopyrightStatement")));

    d->viewLabel->setText(trText(QStringLiteral("View")));
    d->licenseLabel->setText(trText(QStringLiteral("LicenseAgreement")));
    d->commaLabel->setText(trText(QStringLiteral("CommaSymbol")));
    d->privacyLabel->setText(trText(QStringLiteral("PrivacyPolicy")));
    d->andLabel->setText(trText(QStringLiteral("AndSymbol")));
    d->thirdPartyLicenseLabel->setText(trText(QStringLiteral("ThirdPartyLicense")));
}

// ---------------------------------------------------------------------------
// Legal documents

bool ProjectFileWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (!d || event->type() != QEvent::MouseButtonPress)
        return QObject::eventFilter(watched, event);

    const bool chinese = d->language == QLatin1String("zh_CN");
    if (watched == d->licenseLabel) {
        const QString location = QStringLiteral("license") + (chinese ? QStringLiteral("/license_cn")
                                                                      : QStringLiteral("/license_other"));
        const bool opened = vexa::qutils::openShareDirFile(location, QStringLiteral("pdf"), QString());
        if (opened)
            qWarning() << "Open license agreenment text success!";
        else
            qWarning() << "Open license agreenment text failure!";
        if (!opened)
            Q_EMIT documentNotOpened();
        return opened;
    }
    if (watched == d->privacyLabel) {
        const QString location = QStringLiteral("privacy") + (chinese ? QStringLiteral("/privacy_cn")
                                                                      : QStringLiteral("/privacy_other"));
        const bool opened = vexa::qutils::openShareDirFile(location, QStringLiteral("pdf"), QString());
        if (opened)
            qWarning() << "Open privacy agreenment text success!";
        else
            qWarning() << "Open privacy agreenment text failure!";
        if (!opened)
            Q_EMIT documentNotOpened();
        return opened;
    }
    if (watched == d->thirdPartyLicenseLabel) {
        const QString location = QStringLiteral("license") + (chinese ? QStringLiteral("/license_cn")
                                                                      : QStringLiteral("/license_other"));
        const char* share = vexa::qutils::sharePath();
        const QString base = QStringLiteral("%1%2").arg(QCoreApplication::applicationDirPath(),
                                                        QString::fromUtf8(share ? share : "")) +
                             QStringLiteral("/");
        const QString file = QStringLiteral("%1%2%3").arg(base, location,
                                                          chinese ? QStringLiteral("/third_copyright_zh.html")
                                                                  : QStringLiteral("/third_copyright_en.html"));
        const bool opened = vexa::qutils::openShareDirFile(location, QStringLiteral("html"), file);
        if (opened)
            qWarning() << "Open third party license text success!";
        else
            qWarning() << "Open third party license text failure!";
        if (!opened)
            Q_EMIT documentNotOpened();
        return opened;
    }
    return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Packaging

void ProjectFileWidget::packageProject() const
{
    if (!d->projectFileMgr) {
        qWarning() << "new projectFile failed!";
        return;
    }
    // The one manager call made directly on the GUI thread.
    d->projectFileMgr->requestPackage();
}

void ProjectFileWidget::Impl::onShowPackageDialog(const STPackageInfo& mediasInfo)
{
    if (packagePage->isVisible())
        return;
    packagePage->setMediaSize(mediasInfo);
    packagePage->setDefaultFolderName(QStringLiteral("%1-%2").arg(
        QStringLiteral("project"), QDateTime::currentDateTime().toString(QStringLiteral("MM-dd-hh-mm-ss"))));
    PackagePage* page = packagePage;
    QTimer::singleShot(0, page, [page] {
        if (QLayout* layout = page->dialogWidget()->layout())
            layout->activate();
        if (QLayout* layout = page->layout())
            layout->activate();
        // The dialog alone: its layout gives the content area its width.
        page->adjustSize();
    });
    packagePage->exec();
}

void ProjectFileWidget::Impl::onShowProhibitPackageDialog()
{
    vexa::widgets::TipDialog tip(vexa::widgets::TipMessage, nullptr);
    tip.setTipText(trText(QStringLiteral("ProhibitPackage")));
    tip.setBtnText(trText(QStringLiteral("OK")), QString(), QString());
    tip.run();
}

void ProjectFileWidget::Impl::packageProject(STPackage packageInfo, const QString& folderName,
                                             const QString& location) const
{
    const QString packagePath = QStringLiteral("%1/%2").arg(location, folderName);
    packageInfo.packagePath = packagePath.toStdString();
    // Every way out without a request tells the dialog why, so it does not wait for a package.
    const QFileInfo existing(packagePath);
    if (existing.exists() || existing.isSymLink()) {
        packagePage->refuseStart(QStringLiteral("ReSelect"));
        return;
    }
    if (!projectFileMgr) {
        qWarning() << "new projectFile failed!";
        packagePage->refuseStart(QString());
        return;
    }
    if (!QDir().mkdir(packagePath)) {
        qWarning() << "mkdir package folder failed! " << packagePath;
        packagePage->refuseStart(QStringLiteral("PackageFolderFailed"));
        return;
    }
    const QString optimizatedPath = QStringLiteral("%1/%2").arg(packagePath, QStringLiteral("optimizatedPath"));
    if (!QDir().mkdir(optimizatedPath)) {
        qWarning() << "mkdir optimizatedPath folder failed! " << optimizatedPath;
        packagePage->refuseStart(QStringLiteral("PackageFolderFailed"));
        return;
    }
    packageInfo.optimizatedPath = optimizatedPath.toStdString();
    const QString resPath = QStringLiteral("%1/%2").arg(packagePath, QStringLiteral("resPath"));
    if (!QDir().mkdir(resPath)) {
        qWarning() << "mkdir resPath folder failed! " << resPath;
        packagePage->refuseStart(QStringLiteral("PackageFolderFailed"));
        return;
    }
    packageInfo.resPath = resPath.toStdString();
    const QString imagePath = QStringLiteral("%1/%2/").arg(packagePath, QStringLiteral("imagePath"));
    packageInfo.imagePath = imagePath.toStdString();
    if (!QDir().mkdir(imagePath)) {
        qWarning() << "mkdir projectThumb folder failed! " << imagePath;
        packagePage->refuseStart(QStringLiteral("PackageFolderFailed"));
        return;
    }
    const QString projectPath =
        QStringLiteral("%1/%2%3").arg(packagePath, QStringLiteral("project"), QLatin1String(kExtension));

    STProjectFile record;
    record.strProfilePath = projectPath.toStdString();
    record.strImagePath = packageInfo.imagePath;
    record.packageData = packageInfo;
    record.isPackage = true;

    IProjectFileMgr* mgr = projectFileMgr;
    if (!VEXA_CALL_IN_RUNTIME("packageProject", [mgr, record] { mgr->writeProject(record, false); })) {
        qWarning() << "package request not made, the runtime refused the call:" << packagePath;
        packagePage->refuseStart(QString());
    }
}

void ProjectFileWidget::Impl::onFinishPackage(const bool isSuccess, const std::string& path)
{
    packagePage->stopPackage();
    PackagePage* page = packagePage;
    QTimer::singleShot(10, page, [page] { page->close(); });
    Q_EMIT q->packageFinishTip(isSuccess, path);
}

} // namespace projectfilemgr
} // namespace vexa

#include "projectfilewidget.moc"
