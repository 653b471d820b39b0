// Times run() on a recent list of 200 projects whose thumbnails are
// 1920x1080 JPEG files, from the call until the page has been painted, and
// one direction click on that list; beside each, the same page without
// thumbnails plus the plain full-size load-and-scale of every thumbnail a
// build needs.
//
// usage: bench_filelist [entries] [click repetitions]

#include "projectfilewidget.h"

#include <QApplication>
#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

using vexa::projectfilemgr::ProjectFileWidget;

namespace {

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Timing {
    double wall = 0;
    double cpu = 0;
};

class Stopwatch
{
public:
    Stopwatch() : cpu0_(cpuMs()) { wall_.start(); }
    Timing stop() const { return {wall_.nsecsElapsed() / 1e6, cpuMs() - cpu0_}; }

private:
    QElapsedTimer wall_;
    double cpu0_;
};

// The page logs a line per row; where the host sends its log is not what is measured here.
void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// A screen capture stand-in: gradients, shapes and sensor-like noise, so the
// encoded size and the decode work resemble a real capture.
QImage captureLike(int seed)
{
    QImage image(1920, 1080, QImage::Format_RGB32);
    QRandomGenerator random(static_cast<quint32>(seed) + 1);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 1920, 1080);
    gradient.setColorAt(0, QColor::fromHsv(seed * 37 % 360, 200, 90));
    gradient.setColorAt(1, QColor::fromHsv(seed * 91 % 360, 160, 230));
    painter.fillRect(image.rect(), gradient);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 120; ++i) {
        painter.setBrush(QColor::fromRgb(random.generate() | 0xff000000u));
        painter.drawEllipse(random.bounded(1920), random.bounded(1080), random.bounded(40, 400), random.bounded(40, 300));
    }
    painter.end();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = static_cast<int>(random.bounded(9u)) - 4;
            const QRgb c = line[x];
            line[x] = qRgb(qBound(0, qRed(c) + n, 255), qBound(0, qGreen(c) + n, 255), qBound(0, qBlue(c) + n, 255));
        }
    }
    return image;
}

QString listFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Norvane_TR7_Pro.json");
}

void writeList(const QStringList& projects, const QStringList& images)
{
    QDir().mkpath(QFileInfo(listFilePath()).absolutePath());
    QFile file(listFilePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write the list file");
    QTextStream out(&file);
    out << "{\"projects\":[";
    for (int i = 0; i < projects.size(); ++i) {
        out << (i ? "," : "") << "{\"strProfileName\":\"p" << i << "\",\"strProfilePath\":\"" << projects[i]
            << "\",\"strImagePath\":\"" << (images.isEmpty() ? QString() : images[i]) << "\",\"isDamageFile\":false}";
    }
    out << "]}";
}

// Processes events until the recent list has been painted once more.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(QWidget* viewport) { viewport->installEventFilter(this); }
    void reset() { painted_ = false; }
    void waitPainted()
    {
        while (!painted_)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted_ = true;
        return false;
    }

private:
    bool painted_ = false;
};

QListWidget* listOf(ProjectFileWidget& page)
{
    return page.findChild<QListWidget*>(QStringLiteral("FileListWidget"));
}

int loadedThumbnails(QListWidget* list)
{
    int loaded = 0;
    for (int row = 0; row < list->count(); ++row) {
        QWidget* tile = list->itemWidget(list->item(row));
        const QLabel* picture = tile ? tile->findChild<QLabel*>() : nullptr;
        if (picture && !picture->pixmap(Qt::ReturnByValue).isNull())
            ++loaded;
    }
    return loaded;
}

double minimum(const std::vector<double>& values)
{
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

struct PageFigures {
    Timing run;
    std::vector<double> clickWall;
    std::vector<double> clickCpu;
    std::vector<double> clickCallCpu; // the call alone, before the page paints
    double prefetchWall = 0;
};

PageFigures measurePage(int clicks, bool waitForPrefetch)
{
    PageFigures figures;
    ProjectFileWidget page;
    page.resize(1280, 800);
    QListWidget* list = listOf(page);
    PaintWatch watch(list->viewport());

    Stopwatch runWatch;
    page.run();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // tiles removed meanwhile
    watch.waitPainted();
    figures.run = runWatch.stop();

    if (waitForPrefetch) {
        // The user looks at the page for a moment; thumbnails off screen load meanwhile.
        Stopwatch prefetchWatch;
        while (loadedThumbnails(list) < list->count())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        figures.prefetchWall = prefetchWatch.stop().wall;
    }
    for (int i = 0; i < clicks; ++i) {
        watch.reset();
        Stopwatch clickWatch;
        page.changeSortClicked();
        figures.clickCallCpu.push_back(clickWatch.stop().cpu);
        // Tiles a sort removes are deleted later; an event loop would do it
        // right after the click, so it counts.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        watch.waitPainted();
        const Timing click = clickWatch.stop();
        figures.clickWall.push_back(click.wall);
        figures.clickCpu.push_back(click.cpu);
    }
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    // The list file lives in the data folder: keep it out of the real one.
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/share")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    QStandardPaths::setTestModeEnabled(true);
    int appArgc = 1; // argument 1 would name a project to open
    QApplication app(appArgc, argv);
    qInstallMessageHandler(quietHandler);

    const int entries = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const int clicks = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

    std::printf("generating %d projects with 1920x1080 JPEG thumbnails...\n", entries);
    const int variants = std::min(entries, 8);
    std::vector<QByteArray> jpegs;
    for (int v = 0; v < variants; ++v) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        captureLike(v).save(&buffer, "JPG", 85);
        jpegs.push_back(bytes);
    }
    QStringList projects, images;
    const QDateTime base = QDateTime::currentDateTime().addDays(-30);
    for (int i = 0; i < entries; ++i) {
        const QString project = home.filePath(QStringLiteral("project_%1.ptr7").arg(i, 3, 10, QLatin1Char('0')));
        const QString image = home.filePath(QStringLiteral("thumb_%1.jpg").arg(i, 3, 10, QLatin1Char('0')));
        QFile p(project), t(image);
        if (!p.open(QIODevice::WriteOnly) || !t.open(QIODevice::WriteOnly))
            return 1;
        p.write(QByteArray(1024 + i * 97, 'x'));
        p.setFileTime(base.addSecs(i * 3607), QFileDevice::FileModificationTime);
        t.write(jpegs[static_cast<std::size_t>(i % variants)]);
        projects << project;
        images << image;
    }
    std::printf("thumbnail files: %d KiB on average\n", static_cast<int>(jpegs[0].size() / 1024));

    // This library.
    writeList(projects, images);
    const PageFigures ours = measurePage(clicks, true);

    // The page alone: the same list without thumbnails.
    writeList(projects, QStringList());
    const PageFigures bare = measurePage(clicks, false);

    // What the plain approach adds to every list build: load each full picture and scale it.
    Stopwatch plainWatch;
    for (const QString& image : images) {
        const QPixmap picture(image);
        const QPixmap scaled = picture.scaled(192, 108, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (scaled.isNull())
            return 1;
    }
    const Timing plain = plainWatch.stop();

    // For comparison: decoding every thumbnail at tile size, once.
    Stopwatch scaledWatch;
    for (const QString& image : images) {
        QImageReader reader(image);
        reader.setScaledSize(QSize(192, 108));
        if (reader.read().isNull())
            return 1;
    }
    const Timing scaledAll = scaledWatch.stop();

    // run() shows every record twice (the list is read, then sorted); a click shows each once.
    const double baselineRun = bare.run.wall + 2 * plain.wall;
    const double baselineRunCpu = bare.run.cpu + 2 * plain.cpu;
    const double baselineClick = median(bare.clickWall) + plain.wall;
    const double baselineClickCpu = median(bare.clickCpu) + plain.cpu;

    std::printf("\n%-44s %10s %10s\n", "", "wall ms", "cpu ms");
    std::printf("%-44s %10.1f %10.1f\n", "run() until painted", ours.run.wall, ours.run.cpu);
    std::printf("%-44s %10.1f %10.1f\n", "  baseline: plain load-and-scale", baselineRun, baselineRunCpu);
    std::printf("%-44s %10.1f %10.1f\n", "direction click until painted (median)", median(ours.clickWall),
                median(ours.clickCpu));
    std::printf("%-44s %10s %10.1f\n", "  of which the call itself", "", median(ours.clickCallCpu));
    std::printf("%-44s %10.1f %10.1f\n", "  fastest click", minimum(ours.clickWall), minimum(ours.clickCpu));
    std::printf("%-44s %10.1f %10.1f\n", "  baseline: plain load-and-scale", baselineClick, baselineClickCpu);
    std::printf("\n%-44s %10.1f %10.1f\n", "page without thumbnails: run()", bare.run.wall, bare.run.cpu);
    std::printf("%-44s %10.1f %10.1f\n", "page without thumbnails: click (median)", median(bare.clickWall),
                median(bare.clickCpu));
    std::printf("%-44s %10.1f %10.1f\n", "plain load-and-scale of all thumbnails", plain.wall, plain.cpu);
    std::printf("%-44s %10.1f %10.1f\n", "decode of all thumbnails at tile size", scaledAll.wall, scaledAll.cpu);
    std::printf("%-44s %10.1f\n", "off-screen thumbnails loaded after (wall)", ours.prefetchWall);
    std::printf("\nspeed-up: run() %.1fx, click %.1fx\n", baselineRun / ours.run.wall,
                baselineClick / median(ours.clickWall));
    return 0;
}
