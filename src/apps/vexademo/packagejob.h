#pragma once

// One package of the open project: the chosen media, the project file and
// its thumbnail copied into the package folder, all of it on the device
// before the job says it is done. A cancel or a failure takes away exactly
// what the job made.

#include "demoproject.h"
#include "projectfiletypes.h"

#include <QStringList>

#include <atomic>
#include <cstdint>
#include <functional>

namespace vexademo {

class PackageJob
{
public:
    struct Settings {
        quint64 copyRate = 0; // bytes per second, 0: no cap
        std::function<void(quint64 done, quint64 total)> chunkHook;
        std::function<void(std::uint64_t bytes)> progress; // bytes on the device since the last report
        const std::atomic<bool>* cancel = nullptr;
    };

    PackageJob(const vexa::projectfilemgr::STProjectFile& record, const DemoProject& project, const QString& projectPath,
               Settings settings);

    // Runs the whole package; true when it is complete and on the device.
    bool run();
    bool cancelled() const;
    // Takes away what the package made (when it was stopped just as it ended).
    void discard();
    // The errno value of a failure (0: none known).
    int cause() const { return cause_; }

private:
    bool copyMedia();
    bool writeProjectAndThumbnail();
    bool syncFolders();
    bool fail(int cause, const QString& what);
    // Counts copied bytes for the rate cap and the hook; false on a cancel.
    bool onCopied(std::uint64_t bytes);
    void onDurable(std::uint64_t bytes, bool force);

    const vexa::projectfilemgr::STProjectFile record_;
    const DemoProject project_;
    const QString projectPath_;
    const Settings settings_;
    QString packagePath_;
    QString resPath_;
    QString imagePath_;
    QString projectFile_;
    QStringList createdFiles_;
    QStringList packageFolders_;
    QVector<DemoMedia> chosen_;
    QVector<quint64> sizes_; // as found when the package started
    QVector<DemoMedia> packaged_;
    quint64 total_ = 0;
    quint64 done_ = 0;
    quint64 unreported_ = 0;
    qint64 started_ = 0;
    qint64 lastReport_ = 0;
    int cause_ = 0;
};

} // namespace vexademo
