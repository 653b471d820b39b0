#pragma once

// The autosave files of the host: the unsaved state of an open project,
// kept in the autosave folder (never beside or over the project file) until
// the project is saved or closed cleanly.

#include "demoproject.h"

#include <QDateTime>
#include <QString>
#include <QVector>

namespace vexademo {

struct AutosaveRecord {
    QString file;        // the autosave file itself
    QString projectPath; // the project it belongs to
    QDateTime savedAt;
    DemoProject project;
};

// The autosave file of a project inside the autosave folder.
QString autosavePathFor(const QString& folder, const QString& projectPath);

// Writes atomically (temporary file, sync, rename); false with errno set.
bool writeAutosave(const QString& folder, const QString& projectPath, const DemoProject& project);

// Reads an autosave file; false (with a reason) for a damaged or foreign one.
bool readAutosave(const QString& file, AutosaveRecord& record, QString* error = nullptr);

// The autosaves in the folder written after their project was last saved,
// newest first. Damaged and foreign files are left alone with a log line.
QVector<AutosaveRecord> recoverableAutosaves(const QString& folder);

// Sets a discarded autosave aside: to the trash, or renamed when there is
// none, so it is never asked about again and never deleted.
bool discardAutosave(const QString& file);

} // namespace vexademo
