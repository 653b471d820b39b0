// Every file of the fuzz corpus must pass the fuzz target's round-trip check,
// so the ordinary test run guards what fuzzing once found.

#include "projectfilelist_check.h"

#include <QDir>
#include <QFile>
#include <QtTest>

class CorpusReplay : public QObject {
    Q_OBJECT
private slots:
    void replay_data();
    void replay();
};

void CorpusReplay::replay_data()
{
    QTest::addColumn<QString>("path");
    const QDir dir(QStringLiteral(VEXA_JSON_CORPUS_DIR));
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    QVERIFY2(names.size() >= 10, "the seed corpus is missing");
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << dir.filePath(name);
}

void CorpusReplay::replay()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const char *failure = vexa::projectfilemgr::fuzzcheck::checkRoundTrip(
        reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size()));
    QVERIFY2(failure == nullptr, failure);
}

QTEST_GUILESS_MAIN(CorpusReplay)
#include "tst_json_corpus.moc"
