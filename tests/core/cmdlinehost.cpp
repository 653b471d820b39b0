// Runs the start page with this process's own command line and prints what
// reached the manager, so a test can check the command-line branch of run().

#include "hxruntime.h"
#include "modaldriver.h"
#include "projectfilewidget.h"
#include "recordingmanager.h"
#include "translatemanager.h"
#include "translator.h"

#include <QApplication>
#include <QStandardPaths>
#include <cstdio>

using namespace vexa::projectfilemgr;

int main(int argc, char** argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    TranslateManager::instance().translator().load(QStringLiteral(VEXA_ECHO_QM));

    norvane::HXRuntime runtime;
    vexatest::RecordingManager mgr;
    mgr.answerOpens(Success, "loadProject");
    vexatest::ModalDriver driver;
    driver.answerTip(1); // the tip for a missing project, if any

    int names = 0;
    {
        ProjectFileWidget page;
        page.setHXRuntime(&runtime);
        page.setProjectFileMgr(&mgr);
        page.switchLanguage(QStringLiteral("xx"));
        page.setIsSlave(qEnvironmentVariableIsSet("VEXA_TEST_SLAVE"));
        const bool refuse = qEnvironmentVariableIsSet("VEXA_TEST_REFUSE");
        runtime.setCallable(!refuse);
        QObject::connect(&page, &ProjectFileWidget::modifyProjectName, [&names](const QString& name) {
            ++names;
            std::printf("modifyProjectName %s\n", name.toUtf8().constData());
        });
        page.run();
        for (const auto& call : mgr.calls())
            std::printf("%s %s\n", call.name.c_str(), call.path.c_str());
        std::printf("argumentOpenFailed %d\n", mgr.argumentOpenFailedCount());
        std::printf("visible %d\n", page.isVisible() ? 1 : 0);
        for (const QString& text : driver.tipTexts())
            std::printf("tip %s\n", text.toUtf8().constData());
        runtime.setCallable(true);
        page.unsetProjectFileMgr();
        page.unsetHXRuntime();
    }
    std::fflush(stdout);
    return 0;
}
