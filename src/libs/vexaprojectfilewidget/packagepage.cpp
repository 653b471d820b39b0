#include "packagepage.h"

#include "iprojectfilemgr.h"

#include <QCloseEvent>
#include <QDebug>
#include <QKeyEvent>

namespace vexa {
namespace projectfilemgr {

// Placeholder until the dialog's widgets and progress land.
class PackagePage::Impl : public QObject
{
public:
    explicit Impl(PackagePage* owner) : q(owner) {}
    PackagePage* q;
    IProjectFileMgr* projectFileMgr = nullptr;
    norvane::IHXRuntime* runtime = nullptr;
};

PackagePage::PackagePage(QWidget* parent) : vexa::widgets::Dialog(parent), d(new Impl(this)) {}

PackagePage::~PackagePage()
{
    d.reset();
}

void PackagePage::setProjectFileMgr(IProjectFileMgr* mgr)
{
    if (!mgr) {
        qWarning() << "projectFileMgr is null";
        return;
    }
    d->projectFileMgr = mgr;
}

void PackagePage::unsetProjectFileMgr()
{
    if (!d->projectFileMgr) {
        qWarning() << "projectFileMgr is null";
        return;
    }
    d->projectFileMgr = nullptr;
}

void PackagePage::setHXRuntime(norvane::IHXRuntime* runtime)
{
    d->runtime = runtime;
}

void PackagePage::unsetHXRuntime()
{
    d->runtime = nullptr;
}

void PackagePage::setMediaSize(const STPackageInfo&) {}

void PackagePage::setDefaultFolderName(const QString&) {}

void PackagePage::switchLanguage(const QString&) {}

void PackagePage::stopPackage() {}

void PackagePage::closeEvent(QCloseEvent* event)
{
    vexa::widgets::Dialog::closeEvent(event);
}

bool PackagePage::eventFilter(QObject* watched, QEvent* event)
{
    return QObject::eventFilter(watched, event);
}

void PackagePage::keyPressEvent(QKeyEvent* event)
{
    QWidget::keyPressEvent(event);
}

} // namespace projectfilemgr
} // namespace vexa
