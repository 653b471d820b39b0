#include "hosttext.h"

#include "translatemanager.h"
#include "translator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace vexademo {

QString ht(const char* key)
{
    const QString text = norvane::trans::translate(TranslateManager::instance().translator(), QStringLiteral("VexaDemo"),
                                                   QStringLiteral("Host"), QLatin1String(key));
    return text.isEmpty() ? QLatin1String(key) : text;
}

namespace {

const char kKitPrefix[] = "vexawidgets_";

QStringList languageFolders(const QString& shareDir)
{
    const QString appDir = QCoreApplication::applicationDirPath();
    return {shareDir + QStringLiteral("/translations"), shareDir, appDir + QStringLiteral("/translations"), appDir};
}

} // namespace

QStringList languageFiles(const QString& shareDir)
{
    QStringList own;
    QStringList others;
    QSet<QString> seen;
    for (const QString& folder : languageFolders(shareDir)) {
        const QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*.qm")}, QDir::Files, QDir::Name);
        for (const QFileInfo& file : files) {
            const QString path = file.canonicalFilePath();
            if (path.isEmpty() || seen.contains(path) || file.fileName().startsWith(QLatin1String(kKitPrefix)))
                continue;
            seen.insert(path);
            if (file.fileName().startsWith(QLatin1String("vexademo_")))
                own << path;
            else
                others << path;
        }
    }
    return own + others;
}

QString kitLanguageFile(const QString& shareDir, const QString& language)
{
    const QString name = QLatin1String(kKitPrefix) + language + QStringLiteral(".qm");
    for (const QString& folder : languageFolders(shareDir)) {
        const QFileInfo file(folder + QLatin1Char('/') + name);
        if (file.isFile())
            return file.absoluteFilePath();
    }
    return QString();
}

} // namespace vexademo
