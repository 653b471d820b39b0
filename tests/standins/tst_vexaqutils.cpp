#include "vexaqutils.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

// Stands in for the desktop's viewer: records what would have been opened.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls.append(url); }
};

class TestVexaQUtils : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void defaultSharePathFollowsApplicationName();
    void sharePathValuesStayValid();
    void opensDocumentOfShareDir();
    void opensExplicitPath();
    void missingDocumentIsNotOpened();

private:
    UrlRecorder m_viewer;
    QTemporaryDir m_share;
    // The temporary share folder expressed relative to the application directory.
    QString relativeShare() const
    {
        return QLatin1Char('/') + QDir(QCoreApplication::applicationDirPath()).relativeFilePath(m_share.path());
    }
};

void TestVexaQUtils::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_share.isValid());
    QVERIFY(QDir(m_share.path()).mkpath("license"));
    QFile doc(m_share.filePath("license/license_cn.pdf"));
    QVERIFY(doc.open(QIODevice::WriteOnly));
    doc.write("%PDF-1.4\n");
    doc.close();
    QVERIFY(QDir(m_share.path()).mkpath("license/folder.pdf"));
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_viewer, "open");
}

void TestVexaQUtils::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

void TestVexaQUtils::defaultSharePathFollowsApplicationName()
{
    // Must run before anything sets the path.
    QCoreApplication::setApplicationName(QStringLiteral("VexaDemo"));
    QCOMPARE(QString::fromUtf8(vexa::qutils::sharePath()), QStringLiteral("/../share/vexademo"));
}

void TestVexaQUtils::sharePathValuesStayValid()
{
    vexa::qutils::setSharePath(QStringLiteral("/../share/first"));
    const char* first = vexa::qutils::sharePath();
    QCOMPARE(first, vexa::qutils::sharePath()); // stable between calls
    vexa::qutils::setSharePath(QStringLiteral("/../share/second"));
    // A pointer handed out earlier still reads its old value.
    QCOMPARE(QString::fromUtf8(first), QStringLiteral("/../share/first"));
    QCOMPARE(QString::fromUtf8(vexa::qutils::sharePath()), QStringLiteral("/../share/second"));
}

void TestVexaQUtils::opensDocumentOfShareDir()
{
    vexa::qutils::setSharePath(relativeShare());
    m_viewer.urls.clear();
    QVERIFY(vexa::qutils::openShareDirFile("license/license_cn", "pdf", QString()));
    QCOMPARE(m_viewer.urls.size(), 1);
    QCOMPARE(m_viewer.urls.first().toLocalFile(), m_share.filePath("license/license_cn.pdf"));
}

void TestVexaQUtils::opensExplicitPath()
{
    m_viewer.urls.clear();
    // The way the third-party notices are asked for: application dir + share path + "/" + location + file.
    vexa::qutils::setSharePath(relativeShare());
    const QString explicitPath = QCoreApplication::applicationDirPath() + QString::fromUtf8(vexa::qutils::sharePath()) +
                                 "/" + "license" + "/license_cn.pdf";
    QVERIFY(vexa::qutils::openShareDirFile("license/license_other", "html", explicitPath));
    QCOMPARE(m_viewer.urls.size(), 1);
    QCOMPARE(m_viewer.urls.first().toLocalFile(), m_share.filePath("license/license_cn.pdf"));
}

void TestVexaQUtils::missingDocumentIsNotOpened()
{
    vexa::qutils::setSharePath(relativeShare());
    m_viewer.urls.clear();
    QVERIFY(!vexa::qutils::openShareDirFile("license/license_other", "pdf", QString()));
    QVERIFY(!vexa::qutils::openShareDirFile("license/folder", "pdf", QString()));
    QVERIFY(!vexa::qutils::openShareDirFile("license/license_cn", "html", QString()));
    QVERIFY(!vexa::qutils::openShareDirFile(QString(), QString(), QString()));
    QVERIFY(!vexa::qutils::openShareDirFile("license/license_cn", "pdf", m_share.filePath("missing.html")));
    QVERIFY(m_viewer.urls.isEmpty());
}

QTEST_MAIN(TestVexaQUtils)
#include "tst_vexaqutils.moc"
