#pragma once

#include "projectfiletypes.h"

#include <QString>
#include <string>

namespace vexa {
namespace projectfilemgr {

class HostBridge;
class ProjectFileWidget;
class RecentProjectStore;

// The open, new, save and save-as requests and their answers: the checks
// before a request, the request to the manager on the runtime's thread, the
// busy dialog while it runs, and what the page tells the host afterwards.
class ProjectFileFlows
{
public:
    ProjectFileFlows(ProjectFileWidget* page, HostBridge* bridge, RecentProjectStore* store);

    // Why an open request was not made; Sent when it was.
    enum class OpenResult { Sent, NoManager, Missing, Refused };
    OpenResult openFile(const std::string& path);
    // The open dialog, then the open.
    void openChosen();
    // The save dialog, the overwrite question, then a project of the template.
    void createNew(TemplateType type);
    void save();
    void saveAs();

    void openFinished(const QString& filePath, EnProjectOpenStatus flag);
    void saveFinished(const QString& filePath);

    // The project open now, or being opened or created.
    std::string curFilePath;
    bool lastOpenSucceeded = true;
    int backupPathLength = -1;

private:
    void write(const std::string& path, bool isSaveAs, const char* function);

    ProjectFileWidget* q;
    HostBridge* bridge;
    RecentProjectStore* store;
};

} // namespace projectfilemgr
} // namespace vexa
