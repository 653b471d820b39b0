// Saves pictures of the start page and the splash page in one language with
// the sample style sheet, for looking at the layout by eye:
//   pageshots <language> <output folder> [project files for the recent list...]

#include "loadingpage.h"
#include "projectfilewidget.h"
#include "testfiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <cstdio>

using namespace vexa::projectfilemgr;

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    int appArgc = 1; // the page reads argument 1 as a project to open
    QApplication app(appArgc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Vexa_Studio"));
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: pageshots <language> <output folder> [project files...]\n");
        return 2;
    }
    QFile sheet(QStringLiteral(VEXA_SAMPLE_QSS));
    if (!sheet.open(QIODevice::ReadOnly))
        return 1;

    ProjectFileWidget page;
    page.loadLanguageFiles({QStringLiteral(VEXA_TRANSLATIONS_DIR "/vexaprojectfilewidget_en.qm"),
                            QStringLiteral(VEXA_TRANSLATIONS_DIR "/vexaprojectfilewidget_zh_CN.qm")});
    page.switchLanguage(args.at(1));
    page.setProjectstyleSheet(QString::fromUtf8(sheet.readAll()));
    // The recent list, read when the start page comes up.
    QList<QByteArray> entries;
    for (int i = 3; i < args.size(); ++i)
        entries << vexatest::listEntry(args.at(i));
    if (!entries.isEmpty() && !vexatest::writeListFile(vexatest::listOf(entries)))
        return 1;

    LoadingPage* splash = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<LoadingPage*>(widget))
            splash = found;
    const QDir out(args.at(2));
    page.showLoadingPage(); // its end shows the start page
    QTimer::singleShot(1200, [&] { splash->grab().save(out.filePath(QStringLiteral("loading_%1.png").arg(args.at(1)))); });
    QTimer::singleShot(4500, [&] {
        page.grab().save(out.filePath(QStringLiteral("page_%1.png").arg(args.at(1))));
        app.quit();
    });
    return app.exec();
}
