#pragma once

// What both package suites share: a host (runtime, manager, modal driver and
// a temporary folder), a drive of any size, and a short look at the dialog.

#include "hxruntime.h"
#include "modaldriver.h"
#include "packagemath.h"
#include "packagepage.h"
#include "recordingmanager.h"
#include "testmain.h"
#include "tipdialog.h"
#include "translatemanager.h"
#include "translator.h"

#include <QtTest>
#include <QtWidgets>
#include <cerrno>
#include <thread>

using namespace vexa::projectfilemgr;
using vexatest::RecordingManager;

constexpr quint64 MiB = 1048576;
inline std::atomic<std::uint64_t> gFreeBytes{0};
inline std::atomic<bool> gFreeSpaceFails{false};

// A failing query still hands over a number, which must not be believed.
inline bool fakeFreeSpace(const std::string&, std::uint64_t& bytes, int& errorCode)
{
    bytes = gFreeBytes;
    errorCode = gFreeSpaceFails ? EIO : 0;
    return !gFreeSpaceFails;
}

// A widget of the dialog by the object name hosts style it by.
template <typename T = QLabel>
T* in(QWidget* dialog, const char* name) { return dialog->findChild<T*>(QLatin1String(name)); }

// The button's text, whether it can be pressed, whether the name can be
// edited and whether the progress shows, e.g. "CancelPackage 1 0 1".
inline QString look(QWidget* dialog)
{
    auto* button = in<QPushButton>(dialog, "packageButton");
    return QStringLiteral("%1 %2 %3 %4").arg(button->text()).arg(int(button->isEnabled()))
        .arg(int(in<QWidget>(dialog, "packageNameEdit")->isEnabled())).arg(int(!in<QWidget>(dialog, "packageProgress")->isHidden()));
}

struct PackageHost {
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<norvane::HXRuntime> runtime;
    std::unique_ptr<RecordingManager> mgr;
    std::unique_ptr<vexatest::ModalDriver> driver;

    static void setUpOnce()
    {
        QVERIFY(TranslateManager::instance().translator().load(QStringLiteral(VEXA_ECHO_QM)));
        for (const char* language : {"en", "zh_CN"})
            TranslateManager::instance().translator().load(
                QStringLiteral(VEXA_TRANSLATIONS_DIR "/vexaprojectfilewidget_%1.qm").arg(QLatin1String(language)));
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
        setPackageFreeSpaceQuery(&fakeFreeSpace);
    }

    void setUp()
    {
        gFreeBytes = 10240 * MiB;
        gFreeSpaceFails = false;
        dir.reset(new QTemporaryDir);
        runtime.reset(new norvane::HXRuntime);
        mgr.reset(new RecordingManager);
        driver.reset(new vexatest::ModalDriver);
    }

    // From a thread that is neither the GUI's nor the runtime's, as the host does.
    void raise(const std::function<void(RecordingManager*)>& signal)
    {
        RecordingManager* m = mgr.get();
        RecordingManager::fromForeignThread([m, signal] { signal(m); });
    }
};
