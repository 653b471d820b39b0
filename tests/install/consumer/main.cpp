// Embeds the start page the way a host does, against the installed headers.

#include <hxcutils.h>
#include <hxruntime.h>
#include <iprojectfilemgr.h>
#include <projectfilewidget.h>
#include <translatemanager.h>
#include <translator.h>
#include <vexaqutils.h>

#include <QApplication>
#include <cstdio>

class Manager : public vexa::projectfilemgr::IProjectFileMgr
{
public:
    bool isProjectOpen() const override { return false; }
    std::string currentProjectPath() const override { return {}; }
    std::string currentProjectName() const override { return {}; }
    bool isModified() const override { return false; }
    void loadProject(const std::string&, vexa::projectfilemgr::unserializeType) override {}
    void createProject(const std::string&, vexa::projectfilemgr::TemplateType) override {}
    void writeProject(const vexa::projectfilemgr::STProjectFile&, bool) override {}
    void closeProject() override {}
    std::uint64_t projectMediaSize(bool) const override { return 0; }
    void requestPackage() override {}
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    norvane::HXRuntime runtime;
    Manager manager;
    int shown = 0;
    {
        vexa::projectfilemgr::ProjectFileWidget page;
        page.setHXRuntime(&runtime);
        page.setProjectFileMgr(&manager);
        page.setVersionText(QStringLiteral("V9.9.9"));
        page.run();
        shown = page.isVisible() ? 1 : 0;
        page.unsetProjectFileMgr();
        page.unsetHXRuntime();
    }
    // One call to each free function the installed headers declare, so an
    // unexported one fails this link.
    (void)vexa::projectfilemgr::trText(QStringLiteral("View"));
    (void)norvane::trans::translate(TranslateManager::instance().translator(), QStringLiteral("ProjectFile"),
                                    QStringLiteral("Widget"), QStringLiteral("View"));
    vexa::qutils::setSharePath(QStringLiteral("share"));
    (void)vexa::qutils::sharePath();
    (void)vexa::qutils::openShareDirFile(QStringLiteral("missing"), QStringLiteral("pdf"), QString());
    std::uint64_t freeBytes = 0;
    int error = 0;
    (void)diskFreeSpace(".", freeBytes, error);
    (void)folderWritePermission(d2s(1.5, 1));
    std::printf("consumer shown=%d\n", shown);
    return shown == 1 ? 0 : 1;
}
