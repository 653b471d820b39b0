#include "samplecontent.h"

#include "demoproject.h"
#include "recentlist.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRadialGradient>
#include <QSaveFile>

#include <cmath>
#include <random>

namespace vexademo {

namespace {

struct SampleMedia {
    const char* file;
    int kind; // 0 picture, 1 sound
    int a;    // picture width or sound seconds
    int b;    // picture height
    bool used;
};

struct Sample {
    const char* name;
    int templateType;
    int ageDays; // how long ago it was last saved, so the sort orders differ
    std::vector<SampleMedia> media;
};

} // namespace

bool writeSamplePicture(const QString& path, int width, int height, quint32 seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    QImage image(width, height, QImage::Format_RGB32);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor base = QColor::fromHsvF(unit(rng), 0.55, 0.35);
        QLinearGradient sky(0, 0, width, height);
        sky.setColorAt(0, base.darker(200));
        sky.setColorAt(1, base.lighter(140));
        p.fillRect(image.rect(), sky);
        // Soft light blobs, like stage lights on a backdrop.
        for (int i = 0; i < 14; ++i) {
            const QPointF c(unit(rng) * width, unit(rng) * height);
            const double r = (0.08 + unit(rng) * 0.25) * width;
            QColor light = QColor::fromHsvF(unit(rng), 0.6, 1.0);
            QRadialGradient glow(c, r);
            light.setAlphaF(0.45);
            glow.setColorAt(0, light);
            light.setAlphaF(0.0);
            glow.setColorAt(1, light);
            p.setPen(Qt::NoPen);
            p.setBrush(glow);
            p.drawEllipse(c, r, r);
        }
    }
    // Film grain keeps the JPEG at a realistic size. A first start waits for
    // these pictures, so the noise comes from a plain xorshift and a table
    // instead of a distribution object per pixel (bytes 0-2 of each pixel
    // are its colours on the platforms this runs on).
    quint32 state = seed * 2654435761u + 1;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<quint8*>(image.scanLine(y));
        for (int x = 0; x < width * 4; x += 4) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int g = static_cast<int>(state % 29) - 14;
            for (int c = 0; c < 3; ++c) {
                const int v = line[x + c] + g;
                line[x + c] = static_cast<quint8>(v < 0 ? 0 : (v > 255 ? 255 : v));
            }
        }
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "jpeg");
    writer.setQuality(90);
    // Written under another name and renamed: an interrupted run never leaves
    // a cut picture that a later run would take as made.
    return writer.write(image) && file.commit();
}

bool writeSampleSound(const QString& path, double seconds, quint32 seed)
{
    constexpr int rate = 44100;
    constexpr int channels = 2;
    const quint32 frames = static_cast<quint32>(seconds * rate);
    const quint32 dataBytes = frames * channels * 2;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataBytes);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(channels) << quint32(rate) << quint32(rate * channels * 2)
        << quint16(channels * 2) << quint16(16);
    out.writeRawData("data", 4);
    out << dataBytes;

    // A pentatonic melody over a soft chord, a note every half second.
    static const double scale[] = {261.63, 293.66, 329.63, 392.00, 440.00, 523.25};
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> pick(0, 5);
    QByteArray block;
    block.reserve(rate * channels * 2);
    double note = scale[pick(rng)];
    for (quint32 i = 0; i < frames; ++i) {
        if (i % (rate / 2) == 0)
            note = scale[pick(rng)];
        const double t = static_cast<double>(i) / rate;
        const double inNote = std::fmod(t, 0.5);
        const double envelope = std::exp(-inNote * 6.0);
        const double pad = 0.08 * (std::sin(2 * M_PI * 130.81 * t) + std::sin(2 * M_PI * 196.0 * t));
        const double lead = 0.25 * envelope * std::sin(2 * M_PI * note * t);
        const double pan = 0.5 + 0.3 * std::sin(2 * M_PI * 0.1 * t);
        const auto left = static_cast<qint16>(qBound(-1.0, pad + lead * (1.0 - pan), 1.0) * 32000);
        const auto right = static_cast<qint16>(qBound(-1.0, pad + lead * pan, 1.0) * 32000);
        const char bytes[4] = {static_cast<char>(left & 0xff), static_cast<char>((left >> 8) & 0xff),
                               static_cast<char>(right & 0xff), static_cast<char>((right >> 8) & 0xff)};
        block.append(bytes, 4);
        if (block.size() >= rate * channels * 2) {
            out.writeRawData(block.constData(), block.size());
            block.clear();
        }
    }
    out.writeRawData(block.constData(), block.size());
    return out.status() == QDataStream::Ok && file.commit();
}

QStringList createSampleContent(const QString& folder, const QString& listPath, const QString& imageFolder)
{
    QStringList made;
    for (const SampleProject& project : makeSampleProjects(folder, imageFolder)) {
        addRecentProject(listPath, project.path, project.name, project.thumbnail);
        made << project.path;
    }
    return made;
}

std::vector<SampleProject> makeSampleProjects(const QString& folder, const QString& imageFolder,
                                              const std::atomic<bool>* stop)
{
    const std::vector<Sample> samples = {
        {"Lobby Welcome Wall",
         vexa::projectfilemgr::BlankTemplate,
         9,
         {{"welcome_backdrop.jpg", 0, 3840, 2160, true}, {"lobby_ambience.wav", 1, 14, 0, true},
          {"winter_campaign.jpg", 0, 2560, 1440, false}}},
        {"Stadium Twin Screens",
         vexa::projectfilemgr::TwoScreenTemplate,
         3,
         {{"scoreboard_left.jpg", 0, 3840, 2160, true}, {"scoreboard_right.jpg", 0, 3840, 2160, true},
          {"crowd_chant.wav", 1, 20, 0, true}, {"sponsor_reel.jpg", 0, 3840, 2160, false}}},
        {"Concert Triptych",
         vexa::projectfilemgr::ThreeScreenTemplate,
         0,
         {{"stage_left.jpg", 0, 3840, 2160, true}, {"stage_centre.jpg", 0, 3840, 2160, true},
          {"stage_right.jpg", 0, 3840, 2160, true}, {"opening_fanfare.wav", 1, 12, 0, true}}},
    };

    std::vector<SampleProject> made;
    quint32 seed = 7;
    for (const Sample& sample : samples) {
        if (stop && *stop)
            break;
        const QString dir = folder + QLatin1Char('/') + QLatin1String(sample.name);
        const QString mediaDir = dir + QStringLiteral("/media");
        if (!QDir().mkpath(mediaDir))
            continue;
        DemoProject project = projectFromTemplate(QLatin1String(sample.name), sample.templateType);
        project.created = QDateTime::currentDateTime().addDays(-sample.ageDays - 30);
        project.modified = QDateTime::currentDateTime().addDays(-sample.ageDays);
        bool ok = true;
        for (const SampleMedia& m : sample.media) {
            const QString path = mediaDir + QLatin1Char('/') + QLatin1String(m.file);
            if (stop && *stop) {
                ok = false;
                break;
            }
            if (!QFileInfo::exists(path)) {
                ok = m.kind == 0 ? writeSamplePicture(path, m.a, m.b, ++seed) : writeSampleSound(path, m.a, ++seed);
                if (!ok)
                    break;
            }
            DemoMedia media;
            media.name = QFileInfo(path).completeBaseName().replace(QLatin1Char('_'), QLatin1Char(' '));
            media.path = QStringLiteral("media/") + QLatin1String(m.file);
            media.size = static_cast<quint64>(QFileInfo(path).size());
            media.used = m.used;
            project.media.push_back(media);
        }
        if (!ok)
            continue;
        const QString projectPath = dir + QLatin1Char('/') + QLatin1String(sample.name) + QStringLiteral(".ptr7");
        if (!writeProjectFile(projectPath, project))
            continue;
        // Let the recent list's time sort show an order that matches the story.
        QFile stamp(projectPath);
        if (stamp.open(QIODevice::ReadWrite))
            stamp.setFileTime(project.modified, QFileDevice::FileModificationTime);
        stamp.close();
        const QString thumbnail = thumbnailPathFor(imageFolder, projectPath);
        QDir().mkpath(imageFolder);
        writeThumbnail(project, thumbnail);
        made.push_back({projectPath, project.name, thumbnail});
    }
    return made;
}

} // namespace vexademo
