// The demo host in a process of its own, to be killed: it opens a project,
// adds a media file, waits for the autosave, says "autosaved" and runs on
// until the test kills it.
//   crashhost APPNAME LANGUAGE PROJECT MEDIA
// With MEDIA "--restart" it starts again instead, with PROJECT on its command
// line, recovers what the question offers and prints what is open.

#include "autosavefile.h"
#include "demohost.h"
#include "demomanager.h"
#include "modaldriver.h"

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
    const bool restart = qstrcmp(argv[4], "--restart") == 0;
    char* appArgv[] = {argv[0], argv[3], nullptr};
    int appArgc = restart ? 2 : 1; // the start page reads argument 1 as a project to open
    QApplication app(appArgc, appArgv);
    // The test's name, so both processes share data folder and settings.
    QApplication::setApplicationName(QString::fromLocal8Bit(argv[1]));
    vexademo::DemoOptions options;
    options.language = QString::fromLocal8Bit(argv[2]);
    options.shareDir = QStringLiteral(VEXADEMO_SHARE_DIR);
    options.createSamples = false;
    options.checkRestore = restart;
    options.quietTips = true;
    options.autosaveQuietMs = 20;
    vexatest::ModalDriver driver;
    if (restart)
        driver.answerTip(1); // Recover
    vexademo::DemoHost host(options);
    host.start(false);
    if (restart) {
        QElapsedTimer clock;
        clock.start();
        while (!host.manager()->isProjectOpen() && clock.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        host.manager()->waitIdle();
        const auto project = host.manager()->currentProject();
        std::printf("media %d modified %d\n", project ? static_cast<int>(project->media.size()) : -1, host.manager()->isModified() ? 1 : 0);
        return 0;
    }
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
