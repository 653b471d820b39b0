// The three legal links: which document each opens in each language, with
// which arguments and log line; any mouse button opens; a document that
// cannot be opened is logged, the host is told, and the press goes on to the page.

#include "projectfilewidget.h"
#include "testmain.h"
#include "vexaqutils.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QUrl>
#include <QUuid>
#include <QtTest>
#include <dlfcn.h>
#include <memory>

using namespace vexa::projectfilemgr;

namespace {

// Each call as "location|type|explicit path".
QStringList g_calls;

} // namespace


// Stands in front of the shared-data library's function: records the
// arguments, then lets the real one open the document.
namespace vexa {
namespace qutils {
__attribute__((visibility("default"))) bool openShareDirFile(const QString& location, const QString& type,
                                                             const QString& explicitPath)
{
    g_calls << QStringList({location, type, explicitPath}).join(QLatin1Char('|'));
    using Real = bool (*)(const QString&, const QString&, const QString&);
    static const Real real =
        reinterpret_cast<Real>(dlsym(RTLD_NEXT, "_ZN4vexa6qutils16openShareDirFileERK7QStringS3_S3_"));
    return real && real(location, type, explicitPath);
}
} // namespace qutils
} // namespace vexa

class TestLegal : public QObject
{
    Q_OBJECT

private:
    QString shareRelative;
    QString shareDir;
    QList<QUrl> opened;
    std::unique_ptr<ProjectFileWidget> page;

    QLabel* link(const QString& name) const { return page->findChild<QLabel*>(name); }

    void writeDocument(const QString& relative)
    {
        const QString path = shareDir + QLatin1Char('/') + relative;
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("document");
    }

    // A press on the label; true when the page then drags, that is when the
    // press went on past the label to the page.
    bool pressReachedThePage(QLabel* label, Qt::MouseButton button)
    {
        const QPoint global = label->mapToGlobal(QPoint(2, 2));
        QMouseEvent press(QEvent::MouseButtonPress, QPoint(2, 2), global, button, button, Qt::NoModifier);
        QApplication::sendEvent(label, &press);
        const QPoint before = page->pos();
        QMouseEvent move(QEvent::MouseMove, page->mapFromGlobal(global + QPoint(30, 0)), global + QPoint(30, 0),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(page.get(), &move);
        QMouseEvent release(QEvent::MouseButtonRelease, QPoint(2, 2), global, button, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(page.get(), &release);
        const bool dragged = page->pos() != before;
        page->move(before);
        return dragged;
    }

public Q_SLOTS:
    void openUrl(const QUrl& url) { opened << url; }

private Q_SLOTS:
    void initTestCase()
    {
        shareRelative = QStringLiteral("/../testshare-%1").arg(QUuid::createUuid().toString(QUuid::Id128));
        vexa::qutils::setSharePath(shareRelative);
        shareDir = QDir::cleanPath(QCoreApplication::applicationDirPath() + shareRelative);
        for (const char* document : {"license/license_cn.pdf", "license/license_other.pdf", "privacy/privacy_cn.pdf",
                                     "privacy/privacy_other.pdf", "license/license_cn/third_copyright_zh.html",
                                     "license/license_other/third_copyright_en.html"})
            writeDocument(QLatin1String(document));
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
    }

    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QDir(shareDir).removeRecursively();
    }

    void init()
    {
        g_calls.clear();
        opened.clear();
        page.reset(new ProjectFileWidget);
        page->move(200, 100);
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    }

    void cleanup() { page.reset(); }

    void eachLinkInEachLanguage_data()
    {
        QTest::addColumn<QString>("language"); // "-" for no switch at all
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("document"); // the explicit path, relative to the shared directory
        QTest::addColumn<QString>("opens");
        QTest::addColumn<QString>("log");

        const QString licenceLog = QStringLiteral("Open license agreenment text success!");
        const QString privacyLog = QStringLiteral("Open privacy agreenment text success!");
        const QString noticesLog = QStringLiteral("Open third party license text success!");
        for (const char* language : {"-", "en", "ZH_CN"}) {
            QTest::addRow("%s license", language) << language << "license" << "license/license_other" << "pdf" << ""
                                                  << "license/license_other.pdf" << licenceLog;
            QTest::addRow("%s privacy", language) << language << "privacy" << "privacy/privacy_other" << "pdf" << ""
                                                  << "privacy/privacy_other.pdf" << privacyLog;
            QTest::addRow("%s notices", language)
                << language << "thirdPartyLicense" << "license/license_other" << "html"
                << "license/license_other/third_copyright_en.html" << "license/license_other/third_copyright_en.html"
                << noticesLog;
        }
        QTest::newRow("zh_CN license") << "zh_CN" << "license" << "license/license_cn" << "pdf" << ""
                                       << "license/license_cn.pdf" << licenceLog;
        QTest::newRow("zh_CN privacy") << "zh_CN" << "privacy" << "privacy/privacy_cn" << "pdf" << ""
                                       << "privacy/privacy_cn.pdf" << privacyLog;
        QTest::newRow("zh_CN notices") << "zh_CN" << "thirdPartyLicense" << "license/license_cn" << "html"
                                       << "license/license_cn/third_copyright_zh.html"
                                       << "license/license_cn/third_copyright_zh.html" << noticesLog;
    }

    void eachLinkInEachLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, label);
        QFETCH(QString, location);
        QFETCH(QString, type);
        QFETCH(QString, document);
        QFETCH(QString, opens);
        QFETCH(QString, log);

        if (language != QLatin1String("-"))
            page->switchLanguage(language);
        QTest::ignoreMessage(QtWarningMsg, qPrintable(log));
        QVERIFY(!pressReachedThePage(link(label), Qt::LeftButton));

        // The explicit path is the application directory and the shared path joined as they are.
        const QString explicitPath =
            document.isEmpty() ? QString()
                               : QCoreApplication::applicationDirPath() + shareRelative + QLatin1Char('/') + document;
        QCOMPARE(g_calls, QStringList({QStringList({location, type, explicitPath}).join(QLatin1Char('|'))}));
        QCOMPARE(opened, QList<QUrl>({QUrl::fromLocalFile(shareDir + QLatin1Char('/') + opens)}));
    }

    void anyButtonOpensEveryPressButNotTheSecondClickOfADoubleClick()
    {
        QLabel* privacy = link(QStringLiteral("privacy"));
        QTest::ignoreMessage(QtWarningMsg, "Open privacy agreenment text success!");
        QVERIFY(!pressReachedThePage(privacy, Qt::RightButton));
        QTest::ignoreMessage(QtWarningMsg, "Open privacy agreenment text success!");
        QVERIFY(!pressReachedThePage(privacy, Qt::MiddleButton));

        QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPoint(2, 2), privacy->mapToGlobal(QPoint(2, 2)),
                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(privacy, &doubleClick);
        QMouseEvent release(QEvent::MouseButtonRelease, QPoint(2, 2), privacy->mapToGlobal(QPoint(2, 2)),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(privacy, &release);
        QCOMPARE(opened.size(), 2);
        QCOMPARE(g_calls.size(), 2);

        // Other labels are not watched.
        QLabel* version = page->findChild<QLabel*>(QStringLiteral("version"));
        QVERIFY(pressReachedThePage(version, Qt::LeftButton));
        QCOMPARE(g_calls.size(), 2);
    }

    void aMissingDocumentIsLoggedAndThePressGoesOn()
    {
        page->switchLanguage(QStringLiteral("en"));
        const QString notices = shareDir + QStringLiteral("/license/license_other/third_copyright_en.html");
        const QString licence = shareDir + QStringLiteral("/license/license_other.pdf");
        QVERIFY(QFile::rename(notices, notices + QStringLiteral(".away")));
        QVERIFY(QFile::rename(licence, licence + QStringLiteral(".away")));
        QSignalSpy told(page.get(), &ProjectFileWidget::documentNotOpened);

        QTest::ignoreMessage(QtWarningMsg, "Open third party license text failure!");
        const bool noticesPassedOn = pressReachedThePage(link(QStringLiteral("thirdPartyLicense")), Qt::LeftButton);
        QTest::ignoreMessage(QtWarningMsg, "Open license agreenment text failure!");
        const bool licencePassedOn = pressReachedThePage(link(QStringLiteral("license")), Qt::LeftButton);

        QVERIFY(QFile::rename(notices + QStringLiteral(".away"), notices));
        QVERIFY(QFile::rename(licence + QStringLiteral(".away"), licence));
        QVERIFY(noticesPassedOn);
        QVERIFY(licencePassedOn);
        QVERIFY(opened.isEmpty());
        QCOMPARE(g_calls.size(), 2);
        QVERIFY(QApplication::topLevelWidgets().size() >= 1);
        QCOMPARE(QApplication::activeModalWidget(), nullptr); // the host tells the user
        QCOMPARE(told.count(), 2);
    }
};

VEXA_TEST_MAIN(TestLegal)
#include "tst_legal.moc"
