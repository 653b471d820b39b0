// The start page on recent lists of 200, 1 000 and 3 000 projects whose
// thumbnails are 1920x1080 JPEG files: run() until the page has been painted
// (the first page of a process, and warm: the median of four more pages),
// one direction click, a scroll from the top of the list to its bottom (the
// worst step), and the peak memory of the process. Beside each, the plain
// approach: the same page without thumbnails plus the full-size
// load-and-scale of every thumbnail a build needs. Then, on fresh pages, a
// word typed into the filter box and taken back key by key: each key from
// its press until the list has been painted (the median key, the costliest
// key and the slowest single one).
//
// Each list size runs in a process of its own, so the peak memory is its own.
//
// usage: bench_filelist [click repetitions] [sizes...]     (default: 5 200 1000 3000)
//        bench_filelist --storage      (projects on a slow share against all local: storagemode.h)

#include "benchfiles.h"
#include "projectfilewidget.h"
#if defined(VEXA_BENCH_STORAGE)
#include "storagemode.h"
#endif

#include <QApplication>
#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QProcess>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <sys/resource.h>
#include <vector>

using vexa::projectfilemgr::ProjectFileWidget;

namespace {

constexpr int kVariants = 8;
constexpr int kPlainSample = 100; // full-size load-and-scale is timed on this many and scaled up

double cpuMs(clockid_t clock = CLOCK_PROCESS_CPUTIME_ID)
{
    timespec t{};
    clock_gettime(clock, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Timing {
    double wall = 0;
    double cpu = 0;
    // The GUI thread's own: on a busy machine the wall time of a short step
    // is mostly other processes' turns, this is what the step itself cost.
    double guiCpu = 0;
};

class Stopwatch
{
public:
    Stopwatch() : cpu0_(cpuMs()), guiCpu0_(cpuMs(CLOCK_THREAD_CPUTIME_ID)) { wall_.start(); }
    Timing stop() const
    {
        return {wall_.nsecsElapsed() / 1e6, cpuMs() - cpu0_, cpuMs(CLOCK_THREAD_CPUTIME_ID) - guiCpu0_};
    }

private:
    QElapsedTimer wall_;
    double cpu0_;
    double guiCpu0_;
};

double peakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // KiB on Linux
}

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


// Projects of distinct times and sizes (sparse files: the contents are never
// read) and a thumbnail each: links to a few distinct pictures, each link a
// file of its own to the page and to its cache.
bool generate(const QString& dir, int entries)
{
    for (int v = 0; v < kVariants; ++v) {
        if (!captureLike(v).save(QDir(dir).filePath(QStringLiteral("variant_%1.jpg").arg(v)), "JPG", 85))
            return false;
    }
    if (!QDir(dir).mkpath(QFileInfo(namedProjectPath(dir, 0)).path()))
        return false;
    const QDateTime base = QDateTime::currentDateTime().addDays(-200);
    for (int i = 0; i < entries; ++i) {
        for (const QString& path : {projectPath(dir, i), namedProjectPath(dir, i)}) {
            QFile project(path);
            if (!project.open(QIODevice::WriteOnly) || !project.resize(1024 + qint64(i) * 97))
                return false;
            project.setFileTime(base.addSecs(qint64(i) * 3607), QFileDevice::FileModificationTime);
        }
        if (!QFile::link(QDir(dir).filePath(QStringLiteral("variant_%1.jpg").arg(i % kVariants)), imagePath(dir, i)))
            return false;
    }
    return true;
}

QString listFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Norvane_TR7_Pro.json");
}

// `named`: the projects under namedProjectPath, for the filter.
void writeList(const QString& dir, int entries, bool thumbnails, bool named = false)
{
    QDir().mkpath(QFileInfo(listFilePath()).absolutePath());
    QFile file(listFilePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write the list file");
    QTextStream out(&file);
    out << "{\"projects\":[";
    for (int i = 0; i < entries; ++i) {
        out << (i ? "," : "") << "{\"strProfileName\":\"p" << i << "\",\"strProfilePath\":\""
            << (named ? namedProjectPath(dir, i) : projectPath(dir, i))
            << "\",\"strImagePath\":\"" << (thumbnails ? imagePath(dir, i) : QString()) << "\",\"isDamageFile\":false}";
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

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

struct PageFigures {
    Timing run;
    double warmRun = 0;
    std::vector<double> clickWall;
    std::vector<double> stepWall;
    int steps = 0;
};

PageFigures measurePage(int clicks)
{
    PageFigures figures;
    // run() of the first page of the process, as a host's start shows it, and
    // the median of four more: those find the process warm and show what the
    // list itself costs.
    std::vector<double> runs;
    std::unique_ptr<ProjectFileWidget> pagePtr;
    for (int i = 0; i < 5; ++i) {
        pagePtr.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        pagePtr = std::make_unique<ProjectFileWidget>();
        pagePtr->resize(1280, 800);
        PaintWatch first(listOf(*pagePtr)->viewport());
        Stopwatch runWatch;
        pagePtr->run();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // tiles removed meanwhile
        first.waitPainted();
        const Timing timing = runWatch.stop();
        runs.push_back(timing.wall);
        if (i == 0)
            figures.run = timing;
    }
    figures.warmRun = median(std::vector<double>(runs.begin() + 1, runs.end()));
    ProjectFileWidget& page = *pagePtr;
    QListWidget* list = listOf(page);
    PaintWatch watch(list->viewport());

    // The user looks at the page for a moment.
    QElapsedTimer idle;
    idle.start();
    while (idle.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

    for (int i = 0; i < clicks; ++i) {
        watch.reset();
        Stopwatch clickWatch;
        page.changeSortClicked();
        // Tiles a sort removes are deleted later; an event loop would do it
        // right after the click, so it counts.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        watch.waitPainted();
        figures.clickWall.push_back(clickWatch.stop().wall);
    }

    // Top to bottom, one scroll-bar step at a time, as a wheel moves it; the
    // page gets one turn of its event loop between steps, as between wheel events.
    QScrollBar* bar = list->verticalScrollBar();
    bar->setValue(bar->minimum());
    QCoreApplication::processEvents();
    while (bar->value() < bar->maximum()) {
        watch.reset();
        Stopwatch stepWatch;
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        watch.waitPainted();
        figures.stepWall.push_back(stepWatch.stop().wall);
        QCoreApplication::processEvents();
        ++figures.steps;
    }
    return figures;
}

// One key typed into the filter box.
struct KeySample {
    double wall = 0;
    double guiCpu = 0;
    int rows = 0; // shown after it
};

// What is typed into the filter box: a venue, then the start of one of its
// sides (see namedProjectPath), then taken back with as many backspaces.
// The first two letters match every path through its folder; the third
// leaves a tenth of the list, the side a seventieth; the backspaces widen
// it again in the same steps.
const char kTyped[] = "stadium no";
constexpr int kKeysTyped = 2 * (sizeof(kTyped) - 1);
// Pages typed on per process: a key's figure is the median of its samples,
// so a slow spell of the machine does not pass for the cost of one key.
constexpr int kFilterPages = 3;

// A page on the named list (written already): the user puts the cursor in
// the filter box and types. False when the box did not take the keys.
bool measureFilter(std::vector<KeySample>* keys)
{
    ProjectFileWidget page;
    page.resize(1280, 800);
    QListWidget* list = listOf(page);
    PaintWatch watch(list->viewport());
    page.run();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    watch.waitPainted();
    auto idle = [](int ms) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, ms);
    };
    idle(300);
    auto* box = page.findChild<QLineEdit*>(QStringLiteral("filterEdit"));
    if (!box)
        return false;
    box->setFocus(Qt::ShortcutFocusReason);
    QCoreApplication::processEvents();

    auto key = [&](Qt::Key code, char text) {
        const QString typed = text ? QString(QLatin1Char(text)) : QString();
        watch.reset();
        Stopwatch keyWatch;
        QTest::sendKeyEvent(QTest::Press, box, code, typed, Qt::NoModifier);
        // As after a click: tiles a build let go are deleted right after it.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        watch.waitPainted();
        const Timing timing = keyWatch.stop();
        keys->push_back({timing.wall, timing.guiCpu, list->count()});
        QTest::sendKeyEvent(QTest::Release, box, code, typed, Qt::NoModifier);
    };
    // A quick typist's pause between keys; the page's timers run meanwhile.
    constexpr int kPauseMs = 60;
    const QString word = QString::fromLatin1(kTyped);
    for (const char c : kTyped) {
        if (!c)
            continue;
        key(c == ' ' ? Qt::Key_Space : static_cast<Qt::Key>(Qt::Key_A + (c - 'a')), c);
        idle(kPauseMs);
    }
    const bool tookWord = box->text() == word;
    for (int i = 0; i < word.size(); ++i) {
        key(Qt::Key_Backspace, '\b');
        idle(kPauseMs);
    }
    return tookWord && box->text().isEmpty();
}

// One list size in this process: prints one line of figures.
int measureOne(const QString& dir, int entries, int clicks, bool thumbnails)
{
    writeList(dir, entries, thumbnails);
    const PageFigures page = measurePage(clicks);
    double plainWall = 0;
    if (!thumbnails) {
        // What the plain approach adds to every list build, and keeps: each full
        // picture loaded and scaled, and every scaled picture held.
        std::vector<QPixmap> held;
        held.reserve(static_cast<std::size_t>(entries));
        const int sample = std::min(entries, kPlainSample);
        Stopwatch plainWatch;
        for (int i = 0; i < sample; ++i) {
            const QPixmap picture(imagePath(dir, i));
            held.push_back(picture.scaled(192, 108, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        }
        plainWall = plainWatch.stop().wall * entries / sample;
        for (int i = sample; i < entries; ++i)
            held.push_back(held[static_cast<std::size_t>(i % sample)].copy());
    }
    // Before the filter's page, so the peak is that of the pages above.
    const double peak = peakMiB();
    std::vector<KeySample> keys;
    if (thumbnails) {
        writeList(dir, entries, thumbnails, true);
        for (int i = 0; i < kFilterPages; ++i) {
            if (!measureFilter(&keys)) {
                std::fprintf(stderr, "the filter box did not take the keys typed\n");
                return 1;
            }
        }
    }
    std::printf("RESULT %d %.2f %.2f %.2f %.2f %.2f %.2f %d %.2f\n", entries, page.run.wall, median(page.clickWall),
                page.stepWall.empty() ? 0 : *std::max_element(page.stepWall.begin(), page.stepWall.end()),
                median(page.stepWall), peak, plainWall, page.steps, page.warmRun);
    std::printf("KEYS");
    for (const KeySample& key : keys)
        std::printf(" %.2f/%.2f/%d", key.wall, key.guiCpu, key.rows);
    std::printf("\n");
    return 0;
}

struct Row {
    int entries = 0;
    double run = 0, click = 0, worstStep = 0, medianStep = 0, peak = 0, plain = 0, warmRun = 0;
    int steps = 0;
    // Every filter key, kKeysTyped to a page.
    std::vector<KeySample> keys;
};

double worstOf(const std::vector<double>& values)
{
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

// A list size's filter keys over all its rounds: each key's median, by its
// place in what is typed, and the slowest single key.
struct KeyFigures {
    std::vector<double> wall;
    std::vector<double> guiCpu;
    std::vector<int> rows;
    double slowest = 0;
};

KeyFigures keyFigures(const std::vector<Row>& runs)
{
    KeyFigures figures;
    for (int key = 0; key < kKeysTyped; ++key) {
        std::vector<double> wall, cpu;
        int rows = 0;
        for (const Row& run : runs) {
            for (std::size_t i = static_cast<std::size_t>(key); i < run.keys.size(); i += kKeysTyped) {
                wall.push_back(run.keys[i].wall);
                cpu.push_back(run.keys[i].guiCpu);
                rows = run.keys[i].rows;
                figures.slowest = std::max(figures.slowest, run.keys[i].wall);
            }
        }
        figures.wall.push_back(median(wall));
        figures.guiCpu.push_back(median(cpu));
        figures.rows.push_back(rows);
    }
    return figures;
}

bool runChild(const QString& program, const QString& dir, int entries, int clicks, bool thumbnails, Row* row)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(program, {QStringLiteral("--one"), dir, QString::number(entries), QString::number(clicks),
                          thumbnails ? QStringLiteral("1") : QStringLiteral("0")});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return false;
    bool read = false;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        if (line.startsWith("KEYS")) {
            for (const QByteArray& key : line.split(' ').mid(1)) {
                const QList<QByteArray> k = key.split('/');
                if (k.size() == 3)
                    row->keys.push_back({k[0].toDouble(), k[1].toDouble(), k[2].toInt()});
            }
            continue;
        }
        if (!line.startsWith("RESULT "))
            continue;
        const QList<QByteArray> f = line.split(' ');
        if (f.size() < 10)
            return false;
        row->entries = f[1].toInt();
        row->run = f[2].toDouble();
        row->click = f[3].toDouble();
        row->worstStep = f[4].toDouble();
        row->medianStep = f[5].toDouble();
        row->peak = f[6].toDouble();
        row->plain = f[7].toDouble();
        row->steps = f[8].toInt();
        row->warmRun = f[9].toDouble();
        read = true;
    }
    return read;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool one = argc > 1 && QByteArray(argv[1]) == "--one";
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

#if defined(VEXA_BENCH_STORAGE)
    if (argc > 4 && QByteArray(argv[1]) == "--storage-one")
        return measureStorageOne(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), std::atoi(argv[4]));
    if (argc > 1 && QByteArray(argv[1]) == "--storage") {
        QTemporaryDir files;
        if (!files.isValid() || !generate(files.path(), 203))
            return 1;
        return measureStorage(QCoreApplication::applicationFilePath(), files.path());
    }
#endif
    if (one) {
        if (argc < 6)
            return 2;
        return measureOne(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]), std::max(1, std::atoi(argv[4])),
                          std::atoi(argv[5]) != 0);
    }

    const int clicks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i)
        sizes.push_back(std::max(1, std::atoi(argv[i])));
    if (sizes.empty())
        sizes = {200, 1000, 3000};
    const int largest = *std::max_element(sizes.begin(), sizes.end());

    std::printf("generating %d projects with 1920x1080 JPEG thumbnails...\n", largest);
    std::fflush(stdout);
    QTemporaryDir files;
    if (!files.isValid() || !generate(files.path(), largest))
        return 1;
    std::printf("thumbnail files: %d KiB on average\n",
                static_cast<int>(QFileInfo(QDir(files.path()).filePath(QStringLiteral("variant_0.jpg"))).size() / 1024));

    // The plain approach once per size: it is slow, and far off. Our page five
    // times per size, a process each, the sizes taking turns so that a slow
    // spell of the machine falls on all of them alike; each figure is the
    // median of the five.
    constexpr std::size_t kRounds = 5;
    const QString program = QCoreApplication::applicationFilePath();
    std::vector<Row> plain(sizes.size());
    std::vector<std::vector<Row>> rounds(sizes.size(), std::vector<Row>(kRounds));
    auto measure = [&](std::size_t i, bool thumbnails, Row* row) {
        const bool measured = runChild(program, files.path(), sizes[i], clicks, thumbnails, row);
        if (!measured)
            std::fprintf(stderr, "measuring %d entries failed\n", sizes[i]);
        return measured;
    };
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (!measure(i, false, &plain[i]))
            return 1;
    }
    for (std::size_t r = 0; r < kRounds; ++r) {
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            if (!measure(i, true, &rounds[i][r]))
                return 1;
        }
    }
    std::vector<Row> ours;
    for (const std::vector<Row>& runs : rounds) {
        Row a = runs[0];
        for (double Row::*field : {&Row::run, &Row::click, &Row::worstStep, &Row::medianStep, &Row::peak, &Row::warmRun}) {
            std::vector<double> v;
            for (const Row& r : runs)
                v.push_back(r.*field);
            a.*field = median(v);
        }
        ours.push_back(a);
    }

    // run() shows every record twice (the list is read, then sorted); a click shows each once.
    std::printf("\nwall ms; plain = the page without thumbnails + full-size load-and-scale of every thumbnail\n");
    std::printf("%8s | %9s %9s %9s | %9s %9s | %11s %11s %11s %6s | %9s %9s\n", "entries", "run()", "warm", "plain",
                "click", "plain", "worst step", "median step", "plain worst", "steps", "peak MiB", "plain");
    for (std::size_t i = 0; i < ours.size(); ++i) {
        const Row& a = ours[i];
        const Row& b = plain[i];
        std::printf("%8d | %9.1f %9.1f %9.1f | %9.1f %9.1f | %11.1f %11.1f %11.1f %6d | %9.1f %9.1f\n", a.entries, a.run,
                    a.warmRun, b.run + 2 * b.plain, a.click, b.click + b.plain, a.worstStep, a.medianStep, b.worstStep, a.steps,
                    a.peak, b.peak);
    }

    std::vector<KeyFigures> filter;
    for (const std::vector<Row>& runs : rounds)
        filter.push_back(keyFigures(runs));
    std::printf("\nfilter box: \"%s\" typed, then as many backspaces, on %d pages a round; each key from its press "
                "until the list is painted.\nA key's figure is the median of its %d samples: wall ms, and the GUI "
                "thread's CPU ms\n",
                kTyped, kFilterPages, kFilterPages * static_cast<int>(kRounds));
    std::printf("%8s | %10s %14s | %10s %14s | %14s\n", "entries", "median key", "costliest key", "median cpu",
                "costliest cpu", "slowest sample");
    for (std::size_t i = 0; i < ours.size(); ++i) {
        const KeyFigures& k = filter[i];
        std::printf("%8d | %10.2f %14.2f | %10.2f %14.2f | %14.2f\n", ours[i].entries, median(k.wall), worstOf(k.wall),
                    median(k.guiCpu), worstOf(k.guiCpu), k.slowest);
    }
    std::printf("by key, wall ms / rows shown after it:\n");
    for (std::size_t i = 0; i < ours.size(); ++i) {
        std::printf("%8d |", ours[i].entries);
        for (std::size_t key = 0; key < filter[i].wall.size(); ++key) {
            const char typed = key < sizeof(kTyped) - 1 ? kTyped[key] : '<';
            std::printf(" %c %.2f/%d", typed == ' ' ? '_' : typed, filter[i].wall[key], filter[i].rows[key]);
        }
        std::printf("\n");
    }
    if (ours.size() > 1) {
        const auto small = static_cast<std::size_t>(std::min_element(sizes.begin(), sizes.end()) - sizes.begin());
        const auto large = static_cast<std::size_t>(std::max_element(sizes.begin(), sizes.end()) - sizes.begin());
        std::printf("\nratio largest / smallest list: run() %.2f, warm run() %.2f, click %.2f; filter key: median %.2f, "
                    "costliest %.2f, by CPU %.2f and %.2f\n",
                    ours[large].run / ours[small].run, ours[large].warmRun / ours[small].warmRun,
                    ours[large].click / ours[small].click, median(filter[large].wall) / median(filter[small].wall),
                    worstOf(filter[large].wall) / worstOf(filter[small].wall),
                    median(filter[large].guiCpu) / median(filter[small].guiCpu),
                    worstOf(filter[large].guiCpu) / worstOf(filter[small].guiCpu));
        // The same ratio within each round shows how far one process start strays.
        std::printf("run() ratio by round:");
        for (std::size_t r = 0; r < kRounds; ++r)
            std::printf(" %.2f", rounds[large][r].run / rounds[small][r].run);
        std::printf("\n");
    }
    return 0;
}
