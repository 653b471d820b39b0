#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <vector>

namespace vexademo {

// Writes a few sample projects with generated media (pictures and sound of
// realistic sizes) under `folder`, their thumbnails into `imageFolder`, and
// enters them in the recent list. Returns the project paths made.
QStringList createSampleContent(const QString& folder, const QString& listPath, const QString& imageFolder);

struct SampleProject {
    QString path;
    QString name;
    QString thumbnail;
};

// The same without touching the recent list, so it can run on a thread of
// its own while the list belongs to the start page; stops early, making
// nothing more, when *stop turns true.
std::vector<SampleProject> makeSampleProjects(const QString& folder, const QString& imageFolder,
                                              const std::atomic<bool>* stop = nullptr);

// A JPEG picture of about the size a camera or a designer would deliver.
bool writeSamplePicture(const QString& path, int width, int height, quint32 seed);
// A PCM WAV file of the given length: a short melody over a soft pad.
bool writeSampleSound(const QString& path, double seconds, quint32 seed);

} // namespace vexademo
