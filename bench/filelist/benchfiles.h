#pragma once

// Where the benchmark's projects and their thumbnails are.

#include <QDir>
#include <QString>
#include <QStringList>

inline QString projectPath(const QString& dir, int i)
{
    return QDir(dir).filePath(QStringLiteral("project_%1.ptr7").arg(i, 4, 10, QLatin1Char('0')));
}

inline QString imagePath(const QString& dir, int i)
{
    return QDir(dir).filePath(QStringLiteral("thumb_%1.jpg").arg(i, 4, 10, QLatin1Char('0')));
}

// The same projects under names a user would give them, for the filter: a
// venue (each a tenth of the list) and a side of it (a seventh of those),
// in a folder of their own so that only the first letters typed match every path.
inline QString namedProjectPath(const QString& dir, int i)
{
    static const QStringList venues = {QStringLiteral("Stadium"), QStringLiteral("Lobby"),    QStringLiteral("Concert"),
                                       QStringLiteral("Atrium"),  QStringLiteral("Billboard"), QStringLiteral("Roadside"),
                                       QStringLiteral("Airport"), QStringLiteral("Showroom"), QStringLiteral("Plaza"),
                                       QStringLiteral("Arena")};
    static const QStringList sides = {QStringLiteral("north"), QStringLiteral("south"), QStringLiteral("east"),
                                      QStringLiteral("west"),  QStringLiteral("centre"), QStringLiteral("upper"),
                                      QStringLiteral("lower")};
    return QDir(dir).filePath(QStringLiteral("shows/%1 %2 %3.ptr7")
                                  .arg(venues[i % venues.size()], sides[i / venues.size() % sides.size()])
                                  .arg(i, 4, 10, QLatin1Char('0')));
}
