#include "translator.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using norvane::trans::Translator;

namespace {

QString qm(const char* name)
{
    return QStringLiteral(STANDIN_QM_DIR "/") + QLatin1String(name) + QStringLiteral(".qm");
}

QString widgetText(const Translator& translator, const QString& key)
{
    return translator.text(QStringLiteral("ProjectFile"), QStringLiteral("Widget"), key);
}

} // namespace

class TestHxTranslate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void loadRejectsMissingAndBrokenFiles();
    void switchesBetweenLanguages();
    void lookupsMissEmpty();
    void languageFromFileName();
    void laterFileOfSameLanguageWins();
    void doesNotTouchApplicationTranslators();
};

void TestHxTranslate::loadRejectsMissingAndBrokenFiles()
{
    Translator translator;
    QVERIFY(!translator.load(qm("missing_en")));
    QVERIFY(!translator.load(QString()));
    QVERIFY(!translator.load(QStringLiteral(STANDIN_QM_DIR)));

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString broken = dir.filePath("broken_en.qm");
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is not a compiled translation");
    file.close();
    QVERIFY(!translator.load(broken));

    // A missing file must not be replaced by a similarly named one.
    QVERIFY(!translator.load(QStringLiteral(STANDIN_QM_DIR "/projectfile_en_US.qm")));
    translator.switchLanguage(QStringLiteral("en"));
    QCOMPARE(widgetText(translator, "OpenProject"), QString());
}

void TestHxTranslate::switchesBetweenLanguages()
{
    Translator translator;
    QVERIFY(translator.load(qm("projectfile_en")));
    QVERIFY(translator.load(qm("projectfile_zh_CN")));

    // Nothing is active before the first switch.
    QCOMPARE(widgetText(translator, "OpenProject"), QString());

    translator.switchLanguage(QStringLiteral("zh_CN"));
    QCOMPARE(translator.language(), QStringLiteral("zh_CN"));
    QCOMPARE(widgetText(translator, "OpenProject"), QString::fromUtf8("打开工程"));

    translator.switchLanguage(QStringLiteral("en"));
    QCOMPARE(widgetText(translator, "OpenProject"), QStringLiteral("Open project"));
    QCOMPARE(norvane::trans::translate(translator, "ProjectFile", "Widget", "Loading"), QStringLiteral("Loading..."));

    translator.switchLanguage(QStringLiteral("ZH-cn"));
    QCOMPARE(widgetText(translator, "Loading"), QString::fromUtf8("加载中..."));

    translator.switchLanguage(QStringLiteral("fr"));
    QCOMPARE(translator.language(), QStringLiteral("fr"));
    QCOMPARE(widgetText(translator, "OpenProject"), QString());
}

void TestHxTranslate::lookupsMissEmpty()
{
    Translator translator;
    QVERIFY(translator.load(qm("projectfile_en")));
    QVERIFY(translator.load(qm("projectfile_zh_CN")));
    translator.switchLanguage(QStringLiteral("zh_CN"));

    // A key missing in the active language is empty, not the key and not another language's text.
    QCOMPARE(widgetText(translator, "Saving"), QString());
    QCOMPARE(widgetText(translator, "NoSuchKey"), QString());
    QCOMPARE(translator.text("OtherModule", "Widget", "OpenProject"), QString());

    // The group tells apart entries that share a key.
    translator.switchLanguage(QStringLiteral("en"));
    QCOMPARE(widgetText(translator, "Title"), QStringLiteral("Widget title"));
    QCOMPARE(translator.text("ProjectFile", "Other", "Title"), QStringLiteral("Other title"));
}

void TestHxTranslate::languageFromFileName()
{
    Translator translator;
    QVERIFY(translator.load(qm("nolanguage_de")));
    translator.switchLanguage(QStringLiteral("de"));
    QCOMPARE(widgetText(translator, "OpenProject"), QString::fromUtf8("Projekt öffnen"));
}

void TestHxTranslate::laterFileOfSameLanguageWins()
{
    Translator translator;
    QVERIFY(translator.load(qm("projectfile_en")));
    QVERIFY(translator.load(qm("override_en")));
    translator.switchLanguage(QStringLiteral("en"));
    QCOMPARE(widgetText(translator, "Loading"), QStringLiteral("Please wait..."));
    // Keys the later file lacks still come from the earlier one.
    QCOMPARE(widgetText(translator, "Saving"), QStringLiteral("Saving..."));
}

void TestHxTranslate::doesNotTouchApplicationTranslators()
{
    Translator translator;
    QVERIFY(translator.load(qm("projectfile_en")));
    translator.switchLanguage(QStringLiteral("en"));
    QCOMPARE(QCoreApplication::translate("ProjectFile", "OpenProject", "Widget"), QStringLiteral("OpenProject"));
}

QTEST_GUILESS_MAIN(TestHxTranslate)
#include "tst_hxtranslate.moc"
