#pragma once

// Where the benchmark's projects and their thumbnails are.

#include <QDir>
#include <QString>

inline QString projectPath(const QString& dir, int i)
{
    return QDir(dir).filePath(QStringLiteral("project_%1.ptr7").arg(i, 4, 10, QLatin1Char('0')));
}

inline QString imagePath(const QString& dir, int i)
{
    return QDir(dir).filePath(QStringLiteral("thumb_%1.jpg").arg(i, 4, 10, QLatin1Char('0')));
}
