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

QStringList languageFiles(const QString& shareDir)
{
    QStringList own;
    QStringList others;
    QSet<QString> seen;
    const QString appDir = QCoreApplication::applicationDirPath();
    const QStringList folders = {shareDir + QStringLiteral("/translations"), shareDir, appDir + QStringLiteral("/translations"),
                                 appDir};
    for (const QString& folder : folders) {
        const QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*.qm")}, QDir::Files, QDir::Name);
        for (const QFileInfo& file : files) {
            const QString path = file.canonicalFilePath();
            if (path.isEmpty() || seen.contains(path))
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

} // namespace vexademo
