#pragma once

#include "projectfiletypes.h"

#include <QString>
#include <cstdint>
#include <functional>
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
    // The open of a project the file system said is there a moment ago.
    OpenResult openChecked(const std::string& path);
    // Opens a project of the recent list once the file system says it is
    // there, asked off the GUI thread: a share that does not answer never
    // holds up the page. `busy(true)` runs when the answer is slow to come,
    // `busy(false)` when it came. A later request replaces this one.
    void openListed(const std::string& path, std::function<void(bool)> busy);
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

    // An answer later than this shows the tile busy.
    static constexpr int kBusyAfter = 150;

private:
    void tellMissing(const std::string& path);
    void write(const std::string& path, bool isSaveAs, const char* function);

    ProjectFileWidget* q;
    HostBridge* bridge;
    RecentProjectStore* store;
    std::uint64_t openTicket = 0;
};

} // namespace projectfilemgr
} // namespace vexa
