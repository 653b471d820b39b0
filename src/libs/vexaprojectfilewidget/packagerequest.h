#pragma once

#include "projectfiletypes.h"

#include <QString>
#include <string>

namespace vexa {
namespace projectfilemgr {

class HostBridge;
class PackagePage;
class ProjectFileWidget;

// The start page's side of a package: the dialog opened on the host's
// answer, the package folders made and the write requested when the user
// starts, and the host's end report passed on.
class PackageRequest
{
public:
    PackageRequest(ProjectFileWidget* page, PackagePage* dialog, HostBridge* bridge);

    // The host agreed to package: the dialog, modal, unless it is open already.
    void showDialog(const STPackageInfo& mediasInfo);
    // The host refused: a tip says so.
    void showProhibited();
    // The user started a package of that name at that place.
    void begin(STPackage packageInfo, const QString& folderName, const QString& location);
    // The host's end of a package, either way.
    void finish(bool isSuccess, const std::string& path);

private:
    ProjectFileWidget* q;
    PackagePage* dialog;
    HostBridge* bridge;
};

} // namespace projectfilemgr
} // namespace vexa
