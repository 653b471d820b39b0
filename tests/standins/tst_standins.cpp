// The host stand-ins: durable file writing and its failures, number text,
// folder checks, translation lookup and fallback, shared documents, and the
// dialogs and main window the page is built on.

#include "blockdialog.h"
#include "framelessmainwindow.h"
#include "hxcutils.h"
#include "modaldriver.h"
#include "testmain.h"
#include "tipdialog.h"
#include "translator.h"
#include "vexaqutils.h"

#include <QtTest>
#include <QtWidgets>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace vexa::widgets;
using norvane::trans::Translator;

// When set, syncing a folder fails, as some network file systems make it.
static std::atomic<bool> gFolderSyncFails{false};

// Interposes the C library's fsync for this process; everything else goes straight to the kernel.
extern "C" __attribute__((visibility("default"))) int fsync(int fd)
{
    struct stat st {};
    if (gFolderSyncFails && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        errno = EIO;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool save(const QString &path, const std::string &text)
{
    return NoCacheFile::saveToFile(QFile::encodeName(path).toStdString(), text);
}

mode_t modeOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Press, move and release with one button.
void drag(QWidget *target, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton)
{
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseMove, QEvent::MouseButtonRelease}) {
        const QPoint at = type == QEvent::MouseButtonPress ? from : to;
        QMouseEvent event(type, at, target->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button,
                          type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::MouseButtons(button), Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
}

} // namespace

class TestStandIns : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    // Stands in for the desktop's viewer.
    void openUrl(const QUrl &url) { m_opened << url; }

private Q_SLOTS:
    void saveToFile();
    void folderChecksAndNumberText();
    void translatorLookupAndFallback();
    void sharedDocuments();
    void dialogs();
    void tipRunReturnsButtonCode();
    void tipHasOneDefault_data();
    void tipHasOneDefault();
    void mainWindow();

private:
    QList<QUrl> m_opened;
};

void TestStandIns::saveToFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("list.json");
    const mode_t oldMask = ::umask(027);
    const bool created = save(path, "{\"projects\":[]}");
    ::umask(oldMask);
    QVERIFY(created);
    QCOMPARE(modeOf(path), mode_t(0640));
    // A file's own mode is kept; saving through a link replaces the linked file and keeps the link.
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0600) == 0);
    QVERIFY(QFile::link(path, dir.filePath("link.json")));
    QVERIFY(save(dir.filePath("link.json"), "shorter"));
    QVERIFY(QFileInfo(dir.filePath("link.json")).isSymLink());
    QCOMPARE(readAll(path), QByteArray("shorter"));
    QCOMPARE(modeOf(path), mode_t(0600));
    // A link to a file not made yet, through a second link and relative, makes that file.
    QVERIFY(QDir(dir.path()).mkdir("sub") && QFile::link("sub/new.json", dir.filePath("next.json")));
    QVERIFY(QFile::link(dir.filePath("next.json"), dir.filePath("first.json")));
    QVERIFY(save(dir.filePath("first.json"), "made") && QFileInfo(dir.filePath("first.json")).isSymLink());
    QCOMPARE(readAll(dir.filePath("sub/new.json")), QByteArray("made"));
    // The file is in place once renamed; a folder that cannot be synced does not undo that.
    gFolderSyncFails = true;
    const bool synced = save(path, "shorter");
    gFolderSyncFails = false;
    QVERIFY(synced);

    // Failures leave the old file: no room for a temporary file (not even for root),
    // a write failing part-way as on a full disk.
    QVERIFY(!save(QStringLiteral("/proc/list.json"), "x"));
    // A file-size limit makes writes fail part-way, for any user.
    struct rlimit previous {};
    QVERIFY(::getrlimit(RLIMIT_FSIZE, &previous) == 0);
    struct rlimit limited = previous;
    limited.rlim_cur = 4096;
    auto *oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const bool saved = ::setrlimit(RLIMIT_FSIZE, &limited) == 0 && save(path, std::string(64 * 1024, 'n'));
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!saved);
    QCOMPARE(readAll(path), QByteArray("shorter"));
    QCOMPARE(entries(dir.path()), (QStringList{"first.json", "link.json", "list.json", "next.json", "sub"}));
}

void TestStandIns::folderChecksAndNumberText()
{
    QTemporaryDir dir;
    const std::string folder = QFile::encodeName(dir.path()).toStdString();
    QVERIFY(folderWritePermission(folder) && folderWritePermission(folder + "/"));
    QVERIFY(entries(dir.path()).isEmpty()); // the probe does not remain
    QVERIFY(!folderWritePermission(folder + "/missing"));
    QVERIFY(!folderWritePermission("/proc"));
    std::uint64_t bytes = 0;
    int error = -1;
    QVERIFY(diskFreeSpace(folder, bytes, error) && error == 0);
    QVERIFY(!diskFreeSpace(folder + "/missing/deeper", bytes, error));
    QCOMPARE(error, ENOENT);

    // A host may have set a locale with a decimal comma; the text keeps its full stop.
    QVERIFY2(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), "no de_DE.UTF-8 locale: scripts/run-tests.sh makes one");
    const std::string text = d2s(2.0, 2) + ' ' + d2s(2.675, 2) + ' ' + d2s(-1.26, 1) + ' ' + d2s(3.7, -2) + ' ' + d2s(0.1, 20);
    std::setlocale(LC_NUMERIC, "C");
    QCOMPARE(QString::fromStdString(text), QStringLiteral("2.00 2.67 -1.3 4 0.10000000000000000555"));
}

void TestStandIns::translatorLookupAndFallback()
{
    // Only the exact file loads: not a missing one, nor a similarly named one, a folder, or
    // a file that is not a compiled translation (this program).
    Translator translator;
    auto widgetText = [&translator](const char *key) { return translator.text("ProjectFile", "Widget", key); };
    for (const QString &path : {QCoreApplication::applicationFilePath(), QString(), QStringLiteral(STANDIN_QM_DIR),
                                QStringLiteral(STANDIN_QM_DIR "/projectfile_en_US.qm")})
        QVERIFY(!translator.load(path));

    for (const char *name : {"projectfile_en", "projectfile_zh_CN", "override_en", "nolanguage_de"})
        QVERIFY(translator.load(QStringLiteral(STANDIN_QM_DIR "/") + QLatin1String(name) + QStringLiteral(".qm")));
    // Codes compare without case and with '-' as '_'.
    translator.switchLanguage(QStringLiteral("ZH-cn"));
    QCOMPARE(widgetText("OpenProject"), QString::fromUtf8("打开工程"));
    // A key missing in the active language is empty: not the key, not another language's text.
    QCOMPARE(widgetText("Saving"), QString());
    // A later file of a language wins; keys it lacks come from the earlier one.
    translator.switchLanguage(QStringLiteral("en"));
    QCOMPARE(widgetText("Loading"), QStringLiteral("Please wait..."));
    QCOMPARE(widgetText("Saving"), QStringLiteral("Saving..."));
    // The group tells apart entries that share a key.
    QCOMPARE(widgetText("Title"), QStringLiteral("Widget title"));
    QCOMPARE(translator.text("ProjectFile", "Other", "Title"), QStringLiteral("Other title"));
    // A file naming no language takes it from its file name.
    translator.switchLanguage(QStringLiteral("de"));
    QCOMPARE(widgetText("OpenProject"), QString::fromUtf8("Projekt öffnen"));
}

void TestStandIns::sharedDocuments()
{
    // Until a host sets it, the share path follows the application name; a value handed out stays valid.
    QCoreApplication::setApplicationName(QStringLiteral("VexaDemo"));
    const char *first = vexa::qutils::sharePath();
    QTemporaryDir share;
    vexa::qutils::setSharePath(QLatin1Char('/') + QDir(QCoreApplication::applicationDirPath()).relativeFilePath(share.path()));
    QCOMPARE(QString::fromUtf8(first), QStringLiteral("/../share/vexademo"));
    // Only existing files open: not a folder or a missing explicit path.
    QVERIFY(QDir(share.path()).mkpath("folder.pdf") && save(share.filePath("a.pdf"), "%PDF"));
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
    QVERIFY(vexa::qutils::openShareDirFile("a", "pdf", QString()));
    QVERIFY(!vexa::qutils::openShareDirFile("folder", "pdf", QString()));
    QVERIFY(!vexa::qutils::openShareDirFile("a", "pdf", share.filePath("b.pdf")));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(share.filePath("a.pdf"))});
}

void TestStandIns::dialogs()
{
    // Hosts style the dialogs by these names and properties.
    TipDialog tip(TipWarning, nullptr);
    tip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tip));
    BlockDialog block;
    const struct { QWidget *root; const char *name; const char *property; QVariant value; } expected[] = {
        {&tip, "tipDialog", "tipType", int(TipWarning)},
        {&tip, "dialogCloseButton", "autoDefault", false},
        {&tip, "tipIcon", "tipType", int(TipWarning)},
        {&tip, "tipText", "textFormat", QVariant::fromValue(Qt::PlainText)},
        {&tip, "tipCancelButton", "visible", false}, // only a question has it by default
        {&block, "blockSpinner", "size", QSize(40, 40)},
    };
    for (const auto &e : expected) {
        QWidget *widget = e.root->objectName() == e.name ? e.root : e.root->findChild<QWidget *>(QLatin1String(e.name));
        QVERIFY2(widget, e.name);
        QCOMPARE(widget->property(e.property), e.value);
    }
    QCOMPARE(block.dialogWidget()->layout()->contentsMargins(), QMargins(24, 16, 24, 16));

    // Only the title bar drags, and only with the left button.
    QWidget *bar = tip.findChild<QWidget *>(QStringLiteral("dialogTitleBar"));
    const QPoint start = tip.pos(), grab(20, bar->height() / 2);
    drag(tip.dialogWidget(), QPoint(10, 10), QPoint(60, 60));
    drag(bar, grab, grab + QPoint(40, 0), Qt::RightButton);
    QCOMPARE(tip.pos(), start);
    drag(bar, grab, grab + QPoint(30, 25));
    QCOMPARE(tip.pos(), start + QPoint(30, 25));

    // The busy dialog spins only while shown, has no title bar and ignores Escape: the host closes it.
    vexatest::ModalDriver driver;
    QTimer *animation = block.findChild<QWidget *>(QStringLiteral("blockSpinner"))->findChild<QTimer *>();
    QVERIFY(animation && !animation->isActive());
    bool animated = false, titleBarHidden = false, survivedEscape = false;
    // No test macros in here: a failing one would return early and leave the dialog running.
    driver.onNext<BlockDialog>("busy dialog", [&](BlockDialog *d) {
        animated = animation->isActive();
        titleBarHidden = d->findChild<QWidget *>(QStringLiteral("dialogTitleBar"))->isHidden();
        QTest::keyClick(d, Qt::Key_Escape);
        survivedEscape = d->isVisible();
        d->close();
    });
    block.exec();
    QVERIFY(animated && titleBarHidden && survivedEscape);
    QVERIFY(!block.isVisible() && !animation->isActive());
}

void TestStandIns::tipRunReturnsButtonCode()
{
    vexatest::ModalDriver driver;
    TipDialog dialog(TipQuestion, nullptr);
    QVERIFY(!dialog.findChild<QPushButton *>(QStringLiteral("tipCancelButton"))->isHidden());
    dialog.setBtnText("OK", "Cancel", "Other");
    auto click = [](const char *name) { return [name](TipDialog *d) { d->findChild<QPushButton *>(QLatin1String(name))->click(); }; };
    // A kept dialog may run again; each run reports its own button, and closing it otherwise 0.
    const std::pair<std::function<void(TipDialog *)>, int> runs[] = {
        {[](TipDialog *d) { QTest::keyClick(d, Qt::Key_Return); }, 1}, // first, while no other button has had the focus
        {click("dialogCloseButton"), 0},
        {click("tipThirdButton"), 3},
        {[](TipDialog *d) { QTest::keyClick(d, Qt::Key_Escape); }, 0},
        {click("tipCancelButton"), 2},
        {[](TipDialog *d) { d->close(); }, 0},
    };
    for (const auto &run : runs) {
        driver.onNext<TipDialog>("tip", run.first);
        QCOMPARE(dialog.run().buttonCode, run.second);
    }
}

void TestStandIns::tipHasOneDefault_data()
{
    QTest::addColumn<int>("defaultButton"); // 0: left as made
    QTest::addColumn<QString>("keys");       // typed as the tip shows
    QTest::addColumn<int>("code");
    QTest::newRow("Enter") << 0 << "Return" << 1;
    QTest::newRow("Enter after Tab: still the default") << 0 << "Tab Return" << 1;
    QTest::newRow("Space presses the button with the focus") << 0 << "Tab Space" << 2;
    QTest::newRow("safe default, Enter") << 2 << "Return" << 2;
    QTest::newRow("safe default has the focus") << 2 << "Space" << 2;
    QTest::newRow("safe default, Enter after Backtab") << 2 << "Backtab Return" << 2;
    QTest::newRow("safe default, Escape") << 2 << "Esc" << 0;
}

void TestStandIns::tipHasOneDefault()
{
    QFETCH(int, defaultButton);
    QFETCH(QString, keys);
    QFETCH(int, code);
    // The same whatever the Qt version: one default, never the button that happens to have the focus.
    vexatest::ModalDriver driver;
    TipDialog tip(TipQuestion, nullptr);
    if (defaultButton)
        tip.setDefaultButton(defaultButton);
    QString closeName;
    driver.onNext<TipDialog>("tip", [&](TipDialog *d) {
        closeName = d->findChild<QWidget *>(QStringLiteral("dialogCloseButton"))->accessibleName();
        vexatest::typeKeys(d, keys);
    });
    QCOMPARE(tip.run().buttonCode, code);
    QCOMPARE(closeName, QStringLiteral("Close")); // not the cross it shows
}

void TestStandIns::mainWindow()
{
    // The page attaches to the first main window still alive.
    auto *first = new FramelessMainWindow;
    FramelessMainWindow window;
    QCOMPARE(FramelessMainWindow::getMainWindow(), first);
    delete first;
    QCOMPARE(FramelessMainWindow::getMainWindow(), &window);

    // While activation is disabled, activate() leaves another window active, and showing takes no focus.
    window.resize(400, 300);
    window.show();
    QWidget other;
    other.show();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    window.setActivateEnabled(false);
    QVERIFY(window.testAttribute(Qt::WA_ShowWithoutActivating));
    window.activate();
    QCoreApplication::processEvents();
    QVERIFY(!window.isActiveWindow());
    window.setActivateEnabled(true);
    window.activate();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QSignalSpy spy(&window, &FramelessMainWindow::signalHookMoveScreen);
    QTest::keyClick(&window, Qt::Key_Left, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(&window, Qt::Key_Right, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(&window, Qt::Key_Left, Qt::ControlModifier); // not the shortcut
    QCOMPARE(spy.count(), 2);
    QVERIFY(spy.at(0).at(0).toBool() && !spy.at(1).at(0).toBool());

    // Dragging by the top strip moves the window; below it nothing moves.
    const QPoint start = window.pos();
    drag(&window, QPoint(50, 10), QPoint(70, 30));
    drag(&window, QPoint(50, 100), QPoint(90, 140));
    QCOMPARE(window.pos(), start + QPoint(20, 20));
}

VEXA_TEST_MAIN(TestStandIns)
#include "tst_standins.moc"
