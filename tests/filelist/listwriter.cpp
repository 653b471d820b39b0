// Adds projects to a recent list as the host does, so a test can run several
// writers at once: listwriter LIST FOLDER PREFIX COUNT adds FOLDER/PREFIX-i.ptr7
// for i below COUNT, and now and then a project that is gone.

#include "recentlist.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 5)
        return 2;
    for (int i = 0; i < args.at(4).toInt(); ++i) {
        const QString project = QStringLiteral("%1/%2-%3.ptr7").arg(args.at(2), args.at(3)).arg(i);
        if (!vexademo::addRecentProject(args.at(1), project, args.at(3), QString()))
            return 1;
        // Gives the start page an entry to prune, and so a list to write back.
        if (i % 8 == 0 && !vexademo::addRecentProject(args.at(1), args.at(2) + "/gone.ptr7", "gone", QString()))
            return 1;
    }
    return 0;
}
