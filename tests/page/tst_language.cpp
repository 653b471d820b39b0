// Language files and switching: every key the library uses is translated in
// both shipped languages; the host's and the user's switches, the signal,
// the organisation name and the sort rule across switches.

#include "blockdialog.h"
#include "projectfilewidget.h"
#include "testmain.h"
#include "translatemanager.h"
#include "translator.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QXmlStreamReader>
#include <QtTest>
#include <memory>

using namespace vexa::projectfilemgr;

namespace {

const char* const kLanguages[] = {"en", "zh_CN"};

QString tsPath(const QString& language)
{
    return QStringLiteral(VEXA_TS_SOURCE_DIR "/vexaprojectfilewidget_%1.ts").arg(language);
}

QString qmPath(const QString& language)
{
    return QStringLiteral(VEXA_TRANSLATIONS_DIR "/vexaprojectfilewidget_%1.qm").arg(language);
}

struct TsMessage {
    QString context, source, comment, translation, type;
};

QVector<TsMessage> readTs(const QString& path, QString* language)
{
    QVector<TsMessage> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("TS")) {
            *language = xml.attributes().value(QLatin1String("language")).toString();
        } else if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            TsMessage message;
            message.context = context;
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("source"))
                    message.source = xml.readElementText();
                else if (xml.name() == QLatin1String("comment"))
                    message.comment = xml.readElementText();
                else if (xml.name() == QLatin1String("translation")) {
                    message.type = xml.attributes().value(QLatin1String("type")).toString();
                    message.translation = xml.readElementText();
                } else
                    xml.skipCurrentElement();
            }
            messages.append(message);
        }
    }
    if (xml.hasError())
        messages.clear();
    return messages;
}

// Every key the library's sources look up: the literal arguments of trText
// calls, and the caption keys of the template tiles, which go through a table.
QStringList keysUsedByTheCode()
{
    QStringList keys;
    const QRegularExpression literal(QLatin1String(R"re(QStringLiteral\("([A-Za-z]+)"\))re"));
    const QRegularExpression templateKey(QLatin1String(R"re(QStringLiteral\("(\w+Template)"\))re"));
    QDirIterator it(QStringLiteral(VEXA_LIBRARY_SOURCE_DIR), {QStringLiteral("*.cpp"), QStringLiteral("*.h")});
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        // The argument of each call, up to its closing parenthesis.
        const QLatin1String call("trText(");
        for (int at = text.indexOf(call); at >= 0; at = text.indexOf(call, at + 1)) {
            int end = at + call.size();
            for (int depth = 1; end < text.size() && depth > 0; ++end)
                depth += text.at(end) == QLatin1Char('(') ? 1 : text.at(end) == QLatin1Char(')') ? -1 : 0;
            const QString argument = text.mid(at + call.size(), end - at - call.size());
            for (auto literals = literal.globalMatch(argument); literals.hasNext();)
                keys << literals.next().captured(1);
        }
        if (it.fileName().startsWith(QLatin1String("templatelistitem")))
            for (auto found = templateKey.globalMatch(text); found.hasNext();)
                keys << found.next().captured(1);
    }
    keys.removeDuplicates();
    return keys;
}

} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ProjectFileWidget> page;

    QComboBox* languageCombo() const { return page->findChild<QComboBox*>(QStringLiteral("languageComboBox")); }
    QComboBox* sortCombo() const { return page->findChild<QComboBox*>(QString(), Qt::FindDirectChildrenOnly); }
    QString text(const char* name) const
    {
        if (auto* label = page->findChild<QLabel*>(QLatin1String(name)))
            return label->text();
        return page->findChild<QAbstractButton*>(QLatin1String(name))->text();
    }
    QString copyright() const
    {
        for (QLabel* label : page->findChildren<QLabel*>())
            if (label->property("fontSize").toString() == QLatin1String("L") && label->parentWidget() == page.get())
                return label->text();
        return QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        // A missing file is skipped without a word.
        ProjectFileWidget loader;
        loader.loadLanguageFiles({qmPath(QStringLiteral("en")), QStringLiteral("/nonexistent/none_fr.qm"),
                                  qmPath(QStringLiteral("zh_CN"))});
    }

    void init()
    {
        // Built while the translator is on English: the two language items are looked up once.
        TranslateManager::instance().translator().switchLanguage(QStringLiteral("en"));
        page.reset(new ProjectFileWidget);
    }

    void cleanup() { page.reset(); }

    void everyKeyIsTranslatedInBothLanguages_data()
    {
        QTest::addColumn<QString>("language");
        for (const char* language : kLanguages)
            QTest::newRow(language) << QString::fromLatin1(language);
    }

    void everyKeyIsTranslatedInBothLanguages()
    {
        QFETCH(QString, language);
        QString declared;
        const QVector<TsMessage> messages = readTs(tsPath(language), &declared);
        QVERIFY(!messages.isEmpty());
        QCOMPARE(declared, language);

        QSet<QString> sources;
        for (const TsMessage& message : messages) {
            QCOMPARE(message.context, QStringLiteral("ProjectFile"));
            QCOMPARE(message.comment, QStringLiteral("Widget"));
            QVERIFY2(message.type.isEmpty(), qPrintable(message.source + QLatin1String(" is ") + message.type));
            QVERIFY2(!message.translation.trimmed().isEmpty(), qPrintable(message.source));
            QVERIFY2(!sources.contains(message.source), qPrintable(message.source + QLatin1String(" twice")));
            sources.insert(message.source);
        }

        // The keys of the code and of the echo language, looked up the way the page does.
        QString echoLanguage;
        QStringList keys = keysUsedByTheCode();
        QVERIFY(keys.contains(QStringLiteral("NewBulid")));
        QVERIFY(keys.contains(QStringLiteral("ThreeScreenTemplate")));
        for (const TsMessage& message : readTs(QStringLiteral(VEXA_ECHO_TS), &echoLanguage))
            keys << message.source;
        keys.removeDuplicates();
        QVERIFY(keys.size() >= 59);

        TranslateManager::instance().translator().switchLanguage(language);
        for (const QString& key : keys) {
            QVERIFY2(sources.contains(key), qPrintable(key + QLatin1String(" is missing")));
            QVERIFY2(!norvane::trans::translate(TranslateManager::instance().translator(), QStringLiteral("ProjectFile"),
                                                QStringLiteral("Widget"), key)
                          .isEmpty(), qPrintable(key + QLatin1String(" is not in the compiled file")));
        }
    }

    void hostSwitchMovesTheComboAndSignalsOnce()
    {
        QCOMPARE(languageCombo()->currentIndex(), 0);
        QCOMPARE(languageCombo()->itemText(0), QStringLiteral("简体中文"));
        QCOMPARE(languageCombo()->itemText(1), QStringLiteral("English"));
        sortCombo()->setCurrentIndex(2);

        QSignalSpy changed(page.get(), &ProjectFileWidget::sigLanguageChanged);
        QString newTextWhenSignalled;
        connect(page.get(), &ProjectFileWidget::sigLanguageChanged, this,
                [&] { newTextWhenSignalled = text("new"); });
        page->switchLanguage(QStringLiteral("en"));

        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("en"));
        QCOMPARE(newTextWhenSignalled, QStringLiteral("New")); // the nested switch has run by then
        QCOMPARE(languageCombo()->currentIndex(), 1);
        QCOMPARE(TranslateManager::instance().translator().language(), QStringLiteral("en"));

        QCOMPARE(text("new"), QStringLiteral("New"));
        QCOMPARE(text("lastProject"), QStringLiteral("Recent Projects"));
        QCOMPARE(text("languageLabel"), QStringLiteral("Language"));
        QCOMPARE(copyright(), QStringLiteral("Vexa Display Systems Co., Ltd. All rights reserved."));
        QCOMPARE(page->findChild<vexa::widgets::BlockDialog*>()->tipText(), QStringLiteral("Loading, please wait..."));
        QStringList captions;
        for (QLabel* label : page->findChild<QWidget*>(QStringLiteral("TemplateListWidget"))->findChildren<QLabel*>())
            if (!label->text().isEmpty())
                captions << label->text();
        QCOMPARE(captions, QStringList({"Blank", "Two Screens", "Three Screens"}));

        // The rule stays; only the item texts change.
        QCOMPARE(sortCombo()->currentIndex(), 2);
        QCOMPARE(sortCombo()->itemText(2), QStringLiteral("Size"));

        // Switching to the current language again is silent.
        page->switchLanguage(QStringLiteral("en"));
        QCOMPARE(changed.count(), 1);
    }

    void chineseFirstIsSilentAndComposesTheChineseName()
    {
        QSignalSpy changed(page.get(), &ProjectFileWidget::sigLanguageChanged);
        page->switchLanguage(QStringLiteral("zh_CN"));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(languageCombo()->currentIndex(), 0);
        QCOMPARE(text("new"), QStringLiteral("新建"));
        QCOMPARE(copyright(), QStringLiteral("维克萨显示系统有限公司 版权所有"));
        const QString legal = text("license") + text("privacy") + text("thirdPartyLicense");
        QCOMPARE(legal, QStringLiteral("《许可协议》《隐私政策》《第三方软件声明》"));
    }

    void unknownCodeAndCapitals()
    {
        page->switchLanguage(QStringLiteral("en"));
        QSignalSpy changed(page.get(), &ProjectFileWidget::sigLanguageChanged);

        // No item carries French: the translator follows, the combo and the organisation stay.
        page->switchLanguage(QStringLiteral("fr_FR"));
        QCOMPARE(TranslateManager::instance().translator().language(), QStringLiteral("fr_FR"));
        QCOMPARE(languageCombo()->currentIndex(), 1);
        QCOMPARE(copyright(), QStringLiteral("Vexa Display Systems Co., Ltd."));
        QCOMPARE(changed.count(), 0);

        // Capitals: the item match is exact, the organisation match is not.
        page->switchLanguage(QStringLiteral("ZH_CN"));
        QCOMPARE(languageCombo()->currentIndex(), 1);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(copyright(), QStringLiteral("维克萨显示系统有限公司 版权所有"));
    }

    void choosingAnItemWithTheMouse()
    {
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
        QSignalSpy changed(page.get(), &ProjectFileWidget::sigLanguageChanged);

        QComboBox* combo = languageCombo();
        combo->showPopup();
        QAbstractItemView* view = combo->view();
        QTRY_VERIFY(view->isVisible());
        const QRect english = view->visualRect(view->model()->index(1, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, english.center());

        QTRY_COMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("en"));
        QCOMPARE(text("open"), QStringLiteral("Open"));
        QCOMPARE(TranslateManager::instance().translator().language(), QStringLiteral("en"));
    }
};

VEXA_TEST_MAIN(TestLanguage)
#include "tst_language.moc"
