#include "autosaver.h"

#include "autosavefile.h"
#include "demomanager.h"
#include "hosttext.h"
#include "tipdialog.h"

#include <QDebug>
#include <QFileInfo>

namespace vexademo {

Autosaver::Autosaver(DemoProjectMgr* manager, int intervalMs, int quietMs, QObject* parent)
    : QObject(parent), manager_(manager)
{
    interval_.setInterval(intervalMs);
    quiet_.setInterval(quietMs);
    quiet_.setSingleShot(true);
    connect(&interval_, &QTimer::timeout, this, [this] { manager_->requestAutosave(); });
    connect(&quiet_, &QTimer::timeout, this, [this] { manager_->requestAutosave(); });
}

void Autosaver::projectChanged()
{
    if (!manager_->isModified()) {
        interval_.stop();
        quiet_.stop();
        return;
    }
    const std::uint64_t changes = manager_->changeCount();
    if (changes != seen_) {
        seen_ = changes;
        quiet_.start(); // again from now: written once the burst is over
    }
    if (!interval_.isActive())
        interval_.start();
}

QString askAboutAutosaves(const QString& folder)
{
    for (const AutosaveRecord& record : recoverableAutosaves(folder)) {
        vexa::widgets::TipDialog tip(vexa::widgets::TipQuestion, nullptr);
        tip.setTipText(ht("AskRecover").arg(QFileInfo(record.projectPath).fileName(),
                                            displayTime(record.savedAt.toLocalTime())));
        tip.setBtnText(ht("Recover"), ht("Discard"), QString());
        switch (tip.run().buttonCode) {
        case 1:
            return record.file;
        case 2:
            if (!discardAutosave(record.file))
                qWarning() << "discarded autosave could not be set aside:" << record.file;
            break;
        default:
            break; // closed: asked again at the next start
        }
    }
    return QString();
}

} // namespace vexademo
