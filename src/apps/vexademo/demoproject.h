#pragma once

// The demo host's own project format: a small JSON document with the
// project's name, template, screens and media.

#include "projectfiletypes.h"

#include <QDateTime>
#include <QJsonObject>
#include <QImage>
#include <QSize>
#include <QString>
#include <QVector>

namespace vexademo {

struct DemoScreen {
    QString name;
    int x = 0;
    int y = 0;
    int width = 1920;
    int height = 1080;
    bool operator==(const DemoScreen& o) const
    {
        return name == o.name && x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

struct DemoMedia {
    QString name;
    QString path;     // absolute, or relative to the project's folder
    quint64 size = 0; // bytes, as recorded when the media was added
    bool used = true; // placed on a screen (only used media go into a "used" package)
    bool operator==(const DemoMedia& o) const
    {
        return name == o.name && path == o.path && size == o.size && used == o.used;
    }
};

struct DemoProject {
    QString name;
    int templateType = vexa::projectfilemgr::BlankTemplate;
    QDateTime created;
    QDateTime modified;
    QVector<DemoScreen> screens;
    QVector<DemoMedia> media;
};

// A new project laid out for a scene template (1 blank, 2 two screens, 3 three
// screens; anything else is treated as blank).
DemoProject projectFromTemplate(const QString& name, int templateType);

// The project's text as written to disk (UTF-8 JSON, indented).
QByteArray projectToJson(const DemoProject& project);
QJsonObject projectToObject(const DemoProject& project);

// What a project may hold: more than this is a damaged or hostile file, and
// refused before it costs minutes of work on every save.
constexpr int kMaxScreens = 4096;
constexpr int kMaxMedia = 100000;
constexpr quint64 kMaxMediaSize = quint64(1) << 50; // 1 PiB

// Parses a project; false (with a reason) for anything that is not a
// well-formed project of this format.
bool projectFromJson(const QByteArray& data, DemoProject& project, QString* error = nullptr);
// The same for a project object inside another document.
bool projectFromObject(const QJsonObject& root, DemoProject& project, QString* error = nullptr);

// Reads a file; false when it cannot be read or parsed.
bool readProjectFile(const QString& path, DemoProject& project, QString* error = nullptr);

// Writes atomically: an interrupted save leaves the previous file.
bool writeProjectFile(const QString& path, const DemoProject& project);

// The media's path made absolute against the project file's folder.
QString resolveMediaPath(const QString& projectPath, const DemoMedia& media);

// Size of the media file on disk, or the recorded size when it is missing.
quint64 mediaSizeOnDisk(const QString& projectPath, const DemoMedia& media);

// Sum of all media, or of the used ones only; a sum past 2^64 stays at the
// largest value, so a space check can never pass on a wrapped total.
quint64 totalMediaSize(const QString& projectPath, const DemoProject& project, bool allMedias);

// A picture of the project's screens and media for the recent list.
QImage renderThumbnail(const DemoProject& project, const QSize& size = QSize(384, 216));

// Renders the thumbnail and writes it as the project file is written: an
// error anywhere, a full disk included, leaves the previous picture.
bool writeThumbnail(const DemoProject& project, const QString& file);

// Where the thumbnail of a project goes inside a thumbnail folder: one file
// per project path, so two projects of the same name never share a picture.
QString thumbnailPathFor(const QString& folder, const QString& projectPath);
// The same naming for any file kept per project (suffix without the dot).
QString perProjectPath(const QString& folder, const QString& projectPath, const QString& suffix);

QString templateName(int templateType);

// "3.4 MB" style size for people.
QString humanSize(quint64 bytes);

// A date and time as the start page's recent list shows them, so the whole
// application writes them one way.
QString displayTime(const QDateTime& time);

// How many screens a new project of this template has.
int templateScreenCount(int templateType);

} // namespace vexademo
