#pragma once

#include <QString>
#include <QStringList>

namespace vexademo {

// Writes a few sample projects with generated media (pictures and sound of
// realistic sizes) under `folder`, their thumbnails into `imageFolder`, and
// enters them in the recent list. Returns the project paths made.
QStringList createSampleContent(const QString& folder, const QString& listPath, const QString& imageFolder);

// A JPEG picture of about the size a camera or a designer would deliver.
bool writeSamplePicture(const QString& path, int width, int height, quint32 seed);
// A PCM WAV file of the given length: a short melody over a soft pad.
bool writeSampleSound(const QString& path, double seconds, quint32 seed);

} // namespace vexademo
