#include "hxcutils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(data), data.size());
}

mode_t modeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

std::string std8(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

class TestHxcUtils : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void d2sFormats_data();
    void d2sFormats();
    void d2sIgnoresProcessLocale();

    void folderWritePermission_cases();
    void folderWritePermission_readOnlyFolder();

    void diskFreeSpace_reportsOrFails();

    void saveToFile_createsAndReplaces();
    void saveToFile_keepsPermissionsAndLinks();
    void saveToFile_failuresLeaveOldFile();
    void saveToFile_fullDiskLeavesOldFile();
};

void TestHxcUtils::d2sFormats_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");

    QTest::newRow("one decimal") << 1.5 << 1 << "1.5";
    QTest::newRow("pads zeros") << 2.0 << 2 << "2.00";
    QTest::newRow("rounds up") << 1.06 << 1 << "1.1";
    QTest::newRow("binary below half") << 2.675 << 2 << "2.67";
    QTest::newRow("exact tie to even") << 0.125 << 2 << "0.12";
    QTest::newRow("zero decimals") << 1234567.891 << 0 << "1234568";
    QTest::newRow("negative value") << -1.26 << 1 << "-1.3";
    QTest::newRow("negative decimals act as zero") << 3.7 << -2 << "4";
    QTest::newRow("large value") << 1e20 << 1 << "100000000000000000000.0";
    QTest::newRow("many decimals") << 0.1 << 20 << "0.10000000000000000555";
}

void TestHxcUtils::d2sFormats()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(d2s(value, decimals)), expected);
}

void TestHxcUtils::d2sIgnoresProcessLocale()
{
    const char* const candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "ru_RU.UTF-8"};
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    const char* chosen = nullptr;
    for (const char* name : candidates) {
        if (std::setlocale(LC_NUMERIC, name)) {
            chosen = name;
            break;
        }
    }
    if (!chosen)
        QSKIP("no locale with a decimal comma is installed");
    const std::string text = d2s(1.5, 2);
    std::setlocale(LC_NUMERIC, previous.c_str());
    QCOMPARE(QString::fromStdString(text), QStringLiteral("1.50"));
}

void TestHxcUtils::folderWritePermission_cases()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeFile(dir.filePath("existing.txt"), "keep");
    const QStringList before = entries(dir.path());

    QVERIFY(folderWritePermission(std8(dir.path())));
    QVERIFY(folderWritePermission(std8(dir.path() + "/")));
    // The probe must not remain, and existing files stay as they were.
    QCOMPARE(entries(dir.path()), before);
    QCOMPARE(readAll(dir.filePath("existing.txt")), QByteArray("keep"));

    QVERIFY(!folderWritePermission(std8(dir.filePath("missing"))));
    QVERIFY(!folderWritePermission(std8(dir.filePath("existing.txt"))));
    QVERIFY(!folderWritePermission(std::string()));
}

void TestHxcUtils::folderWritePermission_readOnlyFolder()
{
    if (::geteuid() == 0)
        QSKIP("root may write into any folder, so a read-only folder cannot be told apart");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString locked = dir.filePath("locked");
    QVERIFY(QDir().mkdir(locked));
    QVERIFY(::chmod(QFile::encodeName(locked).constData(), 0555) == 0);
    const bool writable = folderWritePermission(std8(locked));
    ::chmod(QFile::encodeName(locked).constData(), 0755);
    QVERIFY(!writable);
    QVERIFY(entries(locked).isEmpty());
}

void TestHxcUtils::diskFreeSpace_reportsOrFails()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    std::uint64_t bytes = 0;
    int error = -1;
    QVERIFY(diskFreeSpace(std8(dir.path()), bytes, error));
    QCOMPARE(error, 0);

    error = 0;
    QVERIFY(!diskFreeSpace(std8(dir.filePath("missing/deeper")), bytes, error));
    QCOMPARE(error, ENOENT);
}

void TestHxcUtils::saveToFile_createsAndReplaces()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("list.json");

    const mode_t oldMask = ::umask(022);
    const bool created = NoCacheFile::saveToFile(std8(path), "{\"projects\":[]}");
    ::umask(oldMask);
    QVERIFY(created);
    QCOMPARE(readAll(path), QByteArray("{\"projects\":[]}"));
    QCOMPARE(modeOf(path), mode_t(0644));

    // Replacing with shorter, empty and large contents never leaves old bytes behind.
    QVERIFY(NoCacheFile::saveToFile(std8(path), "ab"));
    QCOMPARE(readAll(path), QByteArray("ab"));
    QVERIFY(NoCacheFile::saveToFile(std8(path), std::string()));
    QCOMPARE(readAll(path), QByteArray());
    std::string large(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>(i * 131 % 251);
    QVERIFY(NoCacheFile::saveToFile(std8(path), large));
    QCOMPARE(readAll(path), QByteArray::fromStdString(large));

    QCOMPARE(entries(dir.path()), QStringList{"list.json"});
}

void TestHxcUtils::saveToFile_keepsPermissionsAndLinks()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("private.json");
    writeFile(path, "old");
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0600) == 0);
    QVERIFY(NoCacheFile::saveToFile(std8(path), "new"));
    QCOMPARE(readAll(path), QByteArray("new"));
    QCOMPARE(modeOf(path), mode_t(0600));

    // Saving through a link updates the linked file and keeps the link.
    const QString link = dir.filePath("link.json");
    QVERIFY(QFile::link(path, link));
    QVERIFY(NoCacheFile::saveToFile(std8(link), "through link"));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readAll(path), QByteArray("through link"));
    QCOMPARE(entries(dir.path()), (QStringList{"link.json", "private.json"}));
}

void TestHxcUtils::saveToFile_failuresLeaveOldFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    QVERIFY(!NoCacheFile::saveToFile(std8(dir.filePath("missing/list.json")), "x"));
    QVERIFY(!QFileInfo::exists(dir.filePath("missing")));

    // A folder in the target's place is never replaced.
    QVERIFY(QDir().mkdir(dir.filePath("folder")));
    QVERIFY(!NoCacheFile::saveToFile(std8(dir.filePath("folder")), "x"));
    QVERIFY(QFileInfo(dir.filePath("folder")).isDir());
    QVERIFY(!NoCacheFile::saveToFile(std::string(), "x"));

    if (::geteuid() != 0) {
        const QString locked = dir.filePath("locked");
        QVERIFY(QDir().mkdir(locked));
        writeFile(locked + "/list.json", "old");
        QVERIFY(::chmod(QFile::encodeName(locked).constData(), 0555) == 0);
        const bool saved = NoCacheFile::saveToFile(std8(locked + "/list.json"), "new");
        ::chmod(QFile::encodeName(locked).constData(), 0755);
        QVERIFY(!saved);
        QCOMPARE(readAll(locked + "/list.json"), QByteArray("old"));
        QCOMPARE(entries(locked), QStringList{"list.json"});
    }
    QCOMPARE(entries(dir.path()), (geteuid() != 0 ? QStringList{"folder", "locked"} : QStringList{"folder"}));
}

void TestHxcUtils::saveToFile_fullDiskLeavesOldFile()
{
    // A file-size limit makes writes fail part-way, as a full disk does, and
    // works for every user including root.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("list.json");
    writeFile(path, "old content");

    struct rlimit previous {};
    QVERIFY(::getrlimit(RLIMIT_FSIZE, &previous) == 0);
    struct rlimit limited = previous;
    limited.rlim_cur = 4096;
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QVERIFY(::setrlimit(RLIMIT_FSIZE, &limited) == 0);
    const bool saved = NoCacheFile::saveToFile(std8(path), std::string(64 * 1024, 'n'));
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!saved);
    QCOMPARE(readAll(path), QByteArray("old content"));
    QCOMPARE(entries(dir.path()), QStringList{"list.json"});
}

QTEST_GUILESS_MAIN(TestHxcUtils)
#include "tst_hxcutils.moc"
