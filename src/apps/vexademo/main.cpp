// The demo host: embeds the start page and its project-file front end, with
// a project-file manager that really opens, creates, saves and packages
// projects of its own small format.

#include "demohost.h"
#include "qtcompat.h"
#include "screenshottour.h"
#include "vexaqutils.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

void printUsage(const char* program)
{
    std::printf("Usage: %s [options] [project.ptr7]\n"
                "  --lang en|zh_CN            language of this run\n"
                "  --screenshot-tour <dir>    walk the main screens, save PNG pictures into <dir>, exit\n"
                "  -h, --help                 this text\n",
                program);
}

} // namespace

int main(int argc, char** argv)
{
    QString language;
    QString tourDir;
    // The start page reads argument 1 as a project path: the application
    // sees only the program and, when given, that path.
    static std::vector<char*> appArgs;
    appArgs.push_back(argv[0]);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--lang") == 0 && i + 1 < argc) {
            language = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--screenshot-tour") == 0 && i + 1 < argc) {
            tourDir = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            printUsage(argv[0]);
            return 0;
        } else if (argv[i][0] == '-' && argv[i][1] == '-') {
            std::fprintf(stderr, "unknown option %s\n", argv[i]);
            printUsage(argv[0]);
            return 2;
        } else if (appArgs.size() == 1) {
            appArgs.push_back(argv[i]);
        }
    }
    if (!language.isEmpty() && language != QLatin1String("en") && language != QLatin1String("zh_CN")) {
        std::fprintf(stderr, "--lang takes en or zh_CN\n");
        return 2;
    }
    appArgs.push_back(nullptr);
    static int appArgc = static_cast<int>(appArgs.size()) - 1;

    vexa::qtcompat::enableHighDpiScaling();
    QApplication app(appArgc, appArgs.data());
    QApplication::setOrganizationName(QStringLiteral("Vexa"));
    QApplication::setApplicationName(QStringLiteral("Vexa_LED_Studio"));
    QApplication::setApplicationVersion(QStringLiteral(VEXADEMO_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vexademo/theme/app_icon.svg")));
    app.setQuitOnLastWindowClosed(false);

    vexa::qutils::setSharePath(QStringLiteral("/../share/vexademo"));
    vexademo::DemoOptions options;
    options.language = language;
    options.shareDir = QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/vexademo"));
    const bool tour = !tourDir.isEmpty();
    if (tour) {
        options.checkRestore = false;
        options.quietTips = true;
    }

    int result = 0;
    {
        vexademo::DemoHost host(options);
        QObject::connect(&host, &vexademo::DemoHost::quitting, &app, &QCoreApplication::quit, Qt::QueuedConnection);
        if (tour) {
            vexademo::ScreenshotTour walk(&host, QDir(tourDir).absolutePath(), language, nullptr);
            walk.begin();
            result = app.exec();
            // The tour names pictures by the language it ran in.
            for (const QString& file : walk.saved())
                std::printf("%s\n", qPrintable(QDir::toNativeSeparators(file)));
            if (walk.failed())
                result = 1;
        } else {
            host.start(true);
            result = app.exec();
        }
    }
    return result;
}
