#pragma once

// Keeps the unsaved state of the open project in its autosave file: a few
// seconds after a burst of changes has ended, and at the latest every
// interval while changes go on, so a crash loses at most that much work.

#include <QObject>
#include <QTimer>

#include <cstdint>

namespace vexademo {

class DemoProjectMgr;

class Autosaver : public QObject
{
public:
    Autosaver(DemoProjectMgr* manager, int intervalMs, int quietMs, QObject* parent = nullptr);

    // To be called whenever the open project or its state changed.
    void projectChanged();

private:
    DemoProjectMgr* manager_;
    QTimer interval_;
    QTimer quiet_;
    std::uint64_t seen_ = 0;
};

// At start: offers each autosave newer than its project, newest first. A
// discarded one goes to the trash. Returns the autosave to recover, or "".
QString askAboutAutosaves(const QString& folder);

} // namespace vexademo
