#include "demoproject.h"

#include "hxcutils.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>

#include <algorithm>
#include <limits>

namespace vexademo {

namespace {

const char kFormat[] = "vexademo-project";
constexpr int kVersion = 1;

QString isoTime(const QDateTime& time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime fromIso(const QString& text)
{
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!time.isValid())
        time = QDateTime::fromString(text, Qt::ISODate);
    return time.toLocalTime();
}

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

// Screen colours of the thumbnail, one per screen in order.
const QColor kScreenColours[] = {QColor(0x2f, 0x9b, 0xff), QColor(0x1e, 0xc9, 0x8f), QColor(0xff, 0x9f, 0x2e),
                                 QColor(0xc0, 0x6b, 0xff)};

} // namespace

QString templateName(int templateType)
{
    switch (templateType) {
    case vexa::projectfilemgr::TwoScreenTemplate:
        return QStringLiteral("TwoScreenTemplate");
    case vexa::projectfilemgr::ThreeScreenTemplate:
        return QStringLiteral("ThreeScreenTemplate");
    default:
        return QStringLiteral("BlankTemplate");
    }
}

QString humanSize(quint64 bytes)
{
    static const char* const units[] = {"B", "KB", "MB", "GB", "TB"};
    double value = static_cast<double>(bytes);
    int unit = 0;
    while (value >= 1024.0 && unit < 4) {
        value /= 1024.0;
        ++unit;
    }
    return unit == 0 ? QStringLiteral("%1 B").arg(bytes)
                     : QStringLiteral("%1 %2").arg(value, 0, 'f', value < 10 ? 1 : 0).arg(QLatin1String(units[unit]));
}

QString displayTime(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyy.MM.dd hh:mm:ss"));
}

int templateScreenCount(int templateType)
{
    if (templateType == vexa::projectfilemgr::TwoScreenTemplate)
        return 2;
    if (templateType == vexa::projectfilemgr::ThreeScreenTemplate)
        return 3;
    return 1;
}

DemoProject projectFromTemplate(const QString& name, int templateType)
{
    DemoProject project;
    project.name = name;
    project.created = QDateTime::currentDateTime();
    project.modified = project.created;
    const int screens = templateScreenCount(templateType);
    project.templateType = screens;
    for (int i = 0; i < screens; ++i) {
        DemoScreen screen;
        screen.name = QStringLiteral("Screen %1").arg(i + 1);
        screen.x = i * 1920;
        project.screens.push_back(screen);
    }
    return project;
}

QByteArray projectToJson(const DemoProject& project)
{
    return QJsonDocument(projectToObject(project)).toJson(QJsonDocument::Indented);
}

QJsonObject projectToObject(const DemoProject& project)
{
    QJsonObject root;
    root.insert(QStringLiteral("format"), QLatin1String(kFormat));
    root.insert(QStringLiteral("version"), kVersion);
    root.insert(QStringLiteral("name"), project.name);
    root.insert(QStringLiteral("template"), project.templateType);
    root.insert(QStringLiteral("created"), isoTime(project.created));
    root.insert(QStringLiteral("modified"), isoTime(project.modified));
    QJsonArray screens;
    for (const DemoScreen& s : project.screens) {
        screens.append(QJsonObject{{QStringLiteral("name"), s.name},
                                   {QStringLiteral("x"), s.x},
                                   {QStringLiteral("y"), s.y},
                                   {QStringLiteral("width"), s.width},
                                   {QStringLiteral("height"), s.height}});
    }
    root.insert(QStringLiteral("screens"), screens);
    QJsonArray media;
    for (const DemoMedia& m : project.media) {
        // Sizes as text: a JSON number loses bytes above 2^53.
        media.append(QJsonObject{{QStringLiteral("name"), m.name},
                                 {QStringLiteral("path"), m.path},
                                 {QStringLiteral("size"), QString::number(m.size)},
                                 {QStringLiteral("used"), m.used}});
    }
    root.insert(QStringLiteral("media"), media);
    return root;
}

bool projectFromJson(const QByteArray& data, DemoProject& project, QString* error)
{
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(data, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return fail(error, parseError.errorString());
    if (!doc.isObject())
        return fail(error, QStringLiteral("not an object"));
    return projectFromObject(doc.object(), project, error);
}

bool projectFromObject(const QJsonObject& root, DemoProject& project, QString* error)
{
    if (root.value(QStringLiteral("format")).toString() != QLatin1String(kFormat))
        return fail(error, QStringLiteral("unknown format"));
    if (root.value(QStringLiteral("version")).toInt(-1) > kVersion || root.value(QStringLiteral("version")).toInt(-1) < 1)
        return fail(error, QStringLiteral("unsupported version"));
    const QJsonValue screensValue = root.value(QStringLiteral("screens"));
    const QJsonValue mediaValue = root.value(QStringLiteral("media"));
    if (!screensValue.isArray() || !mediaValue.isArray() || !root.value(QStringLiteral("name")).isString())
        return fail(error, QStringLiteral("missing members"));
    if (screensValue.toArray().size() > kMaxScreens || mediaValue.toArray().size() > kMaxMedia)
        return fail(error, QStringLiteral("too many screens or media (at most %1 screens and %2 media)")
                               .arg(kMaxScreens)
                               .arg(kMaxMedia));

    DemoProject result;
    result.name = root.value(QStringLiteral("name")).toString();
    result.templateType = root.value(QStringLiteral("template")).toInt(vexa::projectfilemgr::BlankTemplate);
    result.created = fromIso(root.value(QStringLiteral("created")).toString());
    result.modified = fromIso(root.value(QStringLiteral("modified")).toString());
    for (const QJsonValue& value : screensValue.toArray()) {
        if (!value.isObject())
            return fail(error, QStringLiteral("bad screen"));
        const QJsonObject o = value.toObject();
        DemoScreen s;
        s.name = o.value(QStringLiteral("name")).toString();
        s.x = o.value(QStringLiteral("x")).toInt();
        s.y = o.value(QStringLiteral("y")).toInt();
        s.width = o.value(QStringLiteral("width")).toInt();
        s.height = o.value(QStringLiteral("height")).toInt();
        if (s.width <= 0 || s.height <= 0)
            return fail(error, QStringLiteral("bad screen size"));
        result.screens.push_back(s);
    }
    for (const QJsonValue& value : mediaValue.toArray()) {
        if (!value.isObject())
            return fail(error, QStringLiteral("bad media"));
        const QJsonObject o = value.toObject();
        DemoMedia m;
        m.name = o.value(QStringLiteral("name")).toString();
        m.path = o.value(QStringLiteral("path")).toString();
        bool ok = false;
        m.size = o.value(QStringLiteral("size")).toString().toULongLong(&ok);
        if (!ok || m.path.isEmpty())
            return fail(error, QStringLiteral("bad media entry"));
        if (m.size > kMaxMediaSize)
            return fail(error, QStringLiteral("media size %1 above the limit of %2 bytes").arg(m.size).arg(kMaxMediaSize));
        m.used = o.value(QStringLiteral("used")).toBool(true);
        result.media.push_back(m);
    }
    project = result;
    return true;
}

bool readProjectFile(const QString& path, DemoProject& project, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, file.errorString());
    // A project file is a few kilobytes; anything far larger is not one of ours.
    if (file.size() > 64 * 1024 * 1024)
        return fail(error, QStringLiteral("file too large"));
    return projectFromJson(file.readAll(), project, error);
}

bool writeProjectFile(const QString& path, const DemoProject& project)
{
    return NoCacheFile::saveToFile(path.toStdString(), projectToJson(project).toStdString());
}

QString resolveMediaPath(const QString& projectPath, const DemoMedia& media)
{
    if (QDir::isAbsolutePath(media.path))
        return media.path;
    return QDir::cleanPath(QFileInfo(projectPath).absolutePath() + QLatin1Char('/') + media.path);
}

quint64 mediaSizeOnDisk(const QString& projectPath, const DemoMedia& media)
{
    const QFileInfo info(resolveMediaPath(projectPath, media));
    return info.isFile() ? static_cast<quint64>(info.size()) : media.size;
}

quint64 totalMediaSize(const QString& projectPath, const DemoProject& project, bool allMedias)
{
    quint64 total = 0;
    for (const DemoMedia& m : project.media) {
        if (allMedias || m.used) {
            const quint64 size = mediaSizeOnDisk(projectPath, m);
            total = size > std::numeric_limits<quint64>::max() - total ? std::numeric_limits<quint64>::max() : total + size;
        }
    }
    return total;
}

QImage renderThumbnail(const DemoProject& project, const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, size.width(), size.height());
    background.setColorAt(0, QColor(0x12, 0x17, 0x22));
    background.setColorAt(1, QColor(0x1c, 0x26, 0x38));
    p.fillRect(image.rect(), background);

    // Lay the screens out side by side, scaled to fit with a margin.
    const QRectF area(size.width() * 0.08, size.height() * 0.14, size.width() * 0.84, size.height() * 0.60);
    QRectF bounds;
    for (const DemoScreen& s : project.screens)
        bounds |= QRectF(s.x, s.y, s.width, s.height);
    if (bounds.isEmpty())
        bounds = QRectF(0, 0, 1920, 1080);
    const qreal scale = std::min(area.width() / bounds.width(), area.height() / bounds.height());
    const QPointF origin(area.center().x() - bounds.width() * scale / 2, area.center().y() - bounds.height() * scale / 2);
    const qreal gap = std::max<qreal>(2.0, size.width() / 96.0);
    int index = 0;
    for (const DemoScreen& s : project.screens) {
        QRectF r(origin.x() + (s.x - bounds.x()) * scale, origin.y() + (s.y - bounds.y()) * scale, s.width * scale,
                 s.height * scale);
        r.adjust(gap / 2, 0, -gap / 2, 0);
        const QColor colour = kScreenColours[index % 4];
        QLinearGradient fill(r.topLeft(), r.bottomRight());
        fill.setColorAt(0, colour.darker(160));
        fill.setColorAt(1, colour.darker(280));
        QPainterPath path;
        path.addRoundedRect(r, gap, gap);
        p.fillPath(path, fill);
        p.setPen(QPen(colour, std::max<qreal>(1.0, size.width() / 192.0)));
        p.drawPath(path);
        // A few bars standing for content on the screen.
        p.setPen(Qt::NoPen);
        p.setBrush(colour.lighter(130));
        for (int bar = 0; bar < 3; ++bar) {
            const qreal h = r.height() * (0.18 + 0.16 * ((index + bar) % 3));
            QRectF b(r.left() + r.width() * (0.18 + bar * 0.24), r.bottom() - h - r.height() * 0.12, r.width() * 0.14, h);
            p.drawRoundedRect(b, 2, 2);
        }
        ++index;
    }

    // Project name and media count along the bottom.
    QFont font;
    font.setPixelSize(std::max(10, size.height() / 11));
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0xe8, 0xee, 0xf6));
    const QRectF textRect(size.width() * 0.06, size.height() * 0.78, size.width() * 0.88, size.height() * 0.2);
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
               p.fontMetrics().elidedText(project.name, Qt::ElideRight, static_cast<int>(textRect.width())));
    p.end();
    return image;
}

bool writeThumbnail(const DemoProject& project, const QString& file)
{
    // Encoded in memory first: QImage::save misses errors that only surface
    // when the file is closed.
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !renderThumbnail(project).save(&buffer, "PNG"))
        return false;
    QDir().mkpath(QFileInfo(file).absolutePath());
    return NoCacheFile::saveToFile(file.toStdString(), png.toStdString());
}

QString thumbnailPathFor(const QString& folder, const QString& projectPath)
{
    return perProjectPath(folder, projectPath, QStringLiteral("png"));
}

QString perProjectPath(const QString& folder, const QString& projectPath, const QString& suffix)
{
    const QByteArray hash =
        QCryptographicHash::hash(QFileInfo(projectPath).absoluteFilePath().toUtf8(), QCryptographicHash::Sha1).toHex();
    QString base = QFileInfo(projectPath).completeBaseName();
    base.replace(QRegularExpression(QStringLiteral("[^\\w\\-]")), QStringLiteral("_"));
    QString dir = folder;
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir + base.left(40) + QLatin1Char('-') + QString::fromLatin1(hash.left(12)) + QLatin1Char('.') + suffix;
}

} // namespace vexademo
