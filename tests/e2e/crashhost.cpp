// The demo host in a process of its own, to be killed: it opens a project,
// adds a media file, waits for the autosave, says "autosaved" and runs on
// until the test kills it.
//   crashhost APPNAME LANGUAGE PROJECT MEDIA

#include "autosavefile.h"
#include "demohost.h"
#include "demomanager.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 5)
        return 2;
    QStandardPaths::setTestModeEnabled(true);
    int appArgc = 1;
    QApplication app(appArgc, argv);
    // The test's name, so both processes share data folder and settings.
    QApplication::setApplicationName(QString::fromLocal8Bit(argv[1]));
    vexademo::DemoOptions options;
    options.language = QString::fromLocal8Bit(argv[2]);
    options.shareDir = QStringLiteral(VEXADEMO_SHARE_DIR);
    options.createSamples = false;
    options.checkRestore = false;
    options.quietTips = true;
    options.autosaveQuietMs = 20;
    vexademo::DemoHost host(options);
    host.start(false);
    const QString project = QFileInfo(QString::fromLocal8Bit(argv[3])).absoluteFilePath();
    host.manager()->loadProject(project.toStdString(), vexa::projectfilemgr::unserializeDefault);
    host.manager()->waitIdle();
    if (host.manager()->addMedia({QString::fromLocal8Bit(argv[4])}) != 1)
        return 3;
    const QString autosave = vexademo::autosavePathFor(host.autosaveFolder(), project);
    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo::exists(autosave) && clock.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::printf(QFileInfo::exists(autosave) ? "autosaved\n" : "no autosave\n");
    std::fflush(stdout);
    return app.exec();
}
