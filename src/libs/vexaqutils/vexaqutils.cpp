#include "vexaqutils.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <forward_list>
#include <mutex>
#include <string>

namespace vexa {
namespace qutils {

namespace {

std::mutex& shareMutex()
{
    static std::mutex mutex;
    return mutex;
}

// Every value ever returned stays here, so a pointer handed out earlier never
// dangles when the host changes the path later.
std::forward_list<std::string>& shareValues()
{
    static std::forward_list<std::string> values;
    return values;
}

const char* g_current = nullptr;

const char* storeLocked(std::string value)
{
    auto& values = shareValues();
    if (!values.empty() && values.front() == value)
        return values.front().c_str();
    values.push_front(std::move(value));
    return values.front().c_str();
}

} // namespace

const char* sharePath()
{
    std::lock_guard<std::mutex> lock(shareMutex());
    if (g_current)
        return g_current;
    const QString name = QCoreApplication::applicationName().toLower();
    if (name.isEmpty())
        return "/../share"; // no application yet: do not fix the default too early
    g_current = storeLocked((QStringLiteral("/../share/") + name).toStdString());
    return g_current;
}

void setSharePath(const QString& relativePath)
{
    std::lock_guard<std::mutex> lock(shareMutex());
    g_current = storeLocked(relativePath.toStdString());
}

bool openShareDirFile(const QString& location, const QString& type, const QString& explicitPath)
{
    QString path = explicitPath;
    if (path.isEmpty()) {
        if (location.isEmpty() || type.isEmpty())
            return false;
        path = QCoreApplication::applicationDirPath() + QString::fromUtf8(sharePath()) + QLatin1Char('/') + location +
               QLatin1Char('.') + type;
    }
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::cleanPath(info.absoluteFilePath())));
}

} // namespace qutils
} // namespace vexa
