#include "projectnamerules.h"

#include <QDebug>
#include <QDir>
#include <regex>

namespace vexa {
namespace projectfilemgr {

const char* const kProjectExtension = ".ptr7";

namespace {

constexpr int kLongestPath = 260;

// The extension is a literal suffix in any case; the user's spelling is kept.
bool hasProjectExtension(const QString& fileName, int pathLength)
{
    static const std::regex extensionTest(R"(.+\.ptr7$)", std::regex::ECMAScript | std::regex::icase);
    // The regex engine recurses once per character: a pasted path of some
    // thousand characters would overflow the stack. A path that long is
    // refused whatever its ending, so a plain suffix test does there.
    if (pathLength < kLongestPath)
        return std::regex_match(fileName.toStdString(), extensionTest);
    return fileName.size() > 5 && fileName.endsWith(QLatin1String(kProjectExtension), Qt::CaseInsensitive);
}

} // namespace

ProjectSaveName projectSaveName(const QString& chosen)
{
    ProjectSaveName name;
    name.path = chosen;
    QString folder = chosen;
    while (!QDir(folder).exists()) {
        const int cut = folder.lastIndexOf(QLatin1Char('/'));
        if (cut < 0)
            break;
        folder = folder.left(cut);
        // A name right below the root leaves the root itself, not an empty text.
        if (QDir(folder + QLatin1Char('/')).isRoot())
            folder += QLatin1Char('/');
    }
    name.folder = folder;
    name.fileName = chosen.mid(folder.size() + (folder.endsWith(QLatin1Char('/')) ? 0 : 1));
    qDebug() << "file name is :" << name.fileName;
    if (!hasProjectExtension(name.fileName, static_cast<int>(chosen.size()))) {
        name.fileName += QLatin1String(kProjectExtension);
        name.path += QLatin1String(kProjectExtension);
    }
    return name;
}

bool isLegalProjectName(const ProjectSaveName& name, int backupPathLength)
{
    // The first character may not be a dot, and no character may be a path
    // separator or one of ?"<>|.
    static const std::regex nameTest(R"(^[^.\\/?"<>|]{1}[^/\\?"<>|]*\.ptr7$)",
                                     std::regex::ECMAScript | std::regex::icase);
    const QString& fileName = name.fileName;
    // A name of spaces only makes a file that shows no title anywhere.
    const bool blankName = fileName.chopped(int(qstrlen(kProjectExtension))).trimmed().isEmpty();
    return name.path.size() < kLongestPath && fileName.size() + 4 + backupPathLength < kLongestPath && !blankName &&
           std::regex_match(fileName.toStdString(), nameTest);
}

} // namespace projectfilemgr
} // namespace vexa
