// The package dialog on its own: size, time and progress figures, the space
// rule, the folder name, the write probe, progress from a foreign thread and
// the idle / packaging / cancelling states.

#include "accessiblewalk.h"
#include "packagefixture.h"

Q_DECLARE_METATYPE(vexa::projectfilemgr::STPackage)

class TestPackagePage : public QObject, PackageHost
{
    Q_OBJECT

    std::unique_ptr<PackagePage> page;

    template <typename T = QLabel>
    T* w(const char* name) const { return in<T>(page.get(), name); }
    QPushButton* button() const { return w<QPushButton>("packageButton"); }
    QLineEdit* nameEdit() const { return w<QLineEdit>("packageNameEdit"); }
    QLineEdit* locationEdit() const { return w<QLineEdit>("packageLocationEdit"); }
    QString look() const { return ::look(page.get()); }

    void setMedia(std::uint64_t used, std::uint64_t all = 0)
    {
        STPackageInfo info;
        info.usedMediasSize = used;
        info.allMediasSize = all;
        info.mediaList = {7, -3};
        page->setMediaSize(info);
    }

    void start(const QString& name = QStringLiteral("Show"))
    {
        page->setDefaultFolderName(name);
        button()->click();
    }

private Q_SLOTS:
    void initTestCase()
    {
        setUpOnce();
        qRegisterMetaType<STPackage>("STPackage");
    }

    void init()
    {
        setUp();
        page.reset(new PackagePage);
        page->switchLanguage(QStringLiteral("xx"));
        page->setHXRuntime(runtime.get());
        QVERIFY(page->setProjectFileMgr(mgr.get()));
        locationEdit()->setText(dir->path());
        setMedia(1000);
    }

    void cleanup()
    {
        QCOMPARE(driver->pending(), 0);
        page.reset(); // an attached dialog detaches itself
    }

    void figures()
    {
        // A unit only above 1024 of the one below; speeds end in "/s", sizes in a space.
        const struct { quint64 bytes; bool speed; const char* text; int unit; } sizes[] = {
            {0, false, "0.0B ", 0}, {1024, false, "1024.0B ", 0}, {1536, false, "1.5K ", 1},
            {1048576, false, "1024.0K ", 1}, {3145728, true, "3.0M/s", 2}, {1073741824, false, "1024.0M ", 2},
            {5368709120, false, "5.0G ", 3}, {~0ULL, true, "17179869184.0G/s", 3}};
        for (const auto& c : sizes) {
            int unit = -1;
            QCOMPARE(formatSize(c.bytes, c.speed, &unit), QString::fromLatin1(c.text));
            QCOMPARE(unit, c.unit);
        }
        // Remaining time: a day or more keeps its hours, truncated, never endless nor negative.
        const struct { double bytes; int unit; double speed; const char* text; } times[] = {
            {10485760.0, 2, 2.0, "00:00:05"}, {10240.0, 1, 1.0, "00:00:10"}, {90190.0 * 1073741824.0, 3, 1.0, "25:03:10"},
            {5000.0, 0, 0.0, "00:00:00"}, {0.0, 0, 3.0, "00:00:00"}, {5000.0, 0, qQNaN(), "00:00:00"},
            {2999.0, 0, 1000.0, "00:00:02"}};
        for (const auto& c : times)
            QCOMPARE(remainTimeText(remainSeconds(c.bytes, c.unit, c.speed)), QString::fromLatin1(c.text));
        QCOMPARE(remainTimeText(qInf()) + remainTimeText(-5.0), QStringLiteral("00:00:0000:00:00"));
        // Progress rounds up within 0..100; nothing to package is done once anything came.
        const struct { quint64 packaged, total; int value; } percents[] = {
            {1, 1000, 1}, {999, 1000, 100}, {500, 1000, 50}, {3000, 1000, 100}, {0, 0, 0}, {5, 0, 100}, {~0ULL - 1, ~0ULL, 100}};
        for (const auto& c : percents)
            QCOMPARE(progressPercent(c.packaged, c.total), c.value);
        // The probe: ten KiB in 10 ms; one faster than the clock still gives a finite rate.
        QCOMPARE(formatSize(wholeBytes(probeSpeed(10000)), true), QStringLiteral("1000.0K/s"));
        QVERIFY(qIsFinite(probeSpeed(0)) && probeSpeed(0) > 0.0);
        QCOMPARE(wholeBytes(qQNaN()) + wholeBytes(-1.0), std::uint64_t(0));
        QCOMPARE(wholeBytes(qInf()), ~std::uint64_t(0));
        // 1 MiB 500 ms after the last report, 10 MiB to go; reports within the
        // same millisecond keep the last rate and carry their bytes on.
        SpeedMeter meter;
        bool measured = false;
        const double speed = meter.measure(1048576, 500, measured);
        ProgressTexts texts = progressTexts(speed, 1048576, 11 * 1048576);
        QCOMPARE(texts.speed + texts.remainTime + texts.packaged, QStringLiteral("2.0M/s00:00:051024.0K "));
        QCOMPARE(meter.measure(4096, 0, measured), speed);
        QVERIFY(!measured);
        QCOMPARE(meter.measure(4096, 1, measured), 8192.0 * 1000.0);
        // More packaged than announced leaves nothing, never a wrapped count; a rate shown as 0.0 no endless time.
        QCOMPARE(progressTexts(1000.0, 5000, 1000).remainBytes, std::uint64_t(0));
        texts = progressTexts(0.01, 0, 1000);
        QCOMPARE(texts.speed + texts.remainTime, QStringLiteral("0.0B/s00:00:00"));
    }

    void attachingGoesThroughTheRuntime()
    {
        page->unsetProjectFileMgr();
        runtime->setCallable(false);
        QVERIFY(!page->setProjectFileMgr(mgr.get()) && !page->setProjectFileMgr(nullptr));
        QCOMPARE(mgr->sigPackageProgress.slotCount() + mgr->sigPackageAble.slotCount(), std::size_t(0));
        // Without a manager the button starts nothing.
        QSignalSpy begun(page.get(), &PackagePage::beginPackage);
        button()->click();
        QCOMPARE(begun.count(), 0);
    }

    // At least 100 MiB must stay free, before and after the package.
    void spaceCheck()
    {
        const struct { quint64 free; bool fails; quint64 package; bool isShort; const char* freeText; } cases[] = {
            {150 * MiB, false, 60 * MiB, true, "0.1G"}, {99 * MiB, false, 0, true, "0.1G"},
            {160 * MiB, false, 60 * MiB, false, "0.2G"}, {5368709120, false, 60 * MiB, false, "5.0G"},
            {1048575, false, 0, true, "0.0G"},    // under one MiB counts as none
            {5000 * MiB, true, 0, true, "0.0G"}}; // so does a failing query
        for (const auto& c : cases) {
            gFreeBytes = c.free;
            gFreeSpaceFails = c.fails;
            setMedia(c.package);
            QCOMPARE(w("packageRemainSpace")->text(), QString::fromLatin1(c.freeText));
            QCOMPARE(!w<QWidget>("shareSpaceTips")->isHidden(), c.isShort);
            QCOMPARE(button()->isEnabled(), !c.isShort);
            QCOMPARE(w("packageFileSize")->property("style").toString() + w("packageRemainSpace")->property("style").toString(),
                     c.isShort ? QStringLiteral("redTipredTip") : QStringLiteral("normalTipnormalTip"));
        }
        // The media choice sets the size the rule weighs.
        gFreeBytes = 3000 * MiB;
        gFreeSpaceFails = false;
        setMedia(1536, 3221225472);
        QCOMPARE(w("packageFileSize")->text() + look(), QStringLiteral("1.5K ToPackage 1 1 0"));
        w<QRadioButton>("packageAllMedias")->click();
        QCOMPARE(w("packageFileSize")->text() + look(), QStringLiteral("3.0G ToPackage 0 1 0"));
        // A location that vanished falls back to the desktop.
        locationEdit()->setText(dir->filePath(QStringLiteral("gone")));
        QCOMPARE(locationEdit()->text(), QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
        // The chooser changes the location; picking the same folder again
        // measures it again, as space may have gone meanwhile.
        gFreeBytes = 50 * MiB;
        driver->acceptFileDialog(locationEdit()->text());
        w<QPushButton>("packageSelectButton")->click();
        QVERIFY(!button()->isEnabled());
    }

    // The chooser sets the location only when a folder that can be written to was chosen.
    void chooserSetsTheLocation_data()
    {
        QTest::addColumn<QString>("how"); // accepted, cancelled after moving elsewhere, or a folder to accept
        QTest::newRow("folder chosen") << "accept";
        QTest::newRow("cancelled elsewhere") << "cancel";
        QTest::newRow("folder not writable") << "/proc";
    }

    void chooserSetsTheLocation()
    {
        QFETCH(QString, how);
        const QString before = locationEdit()->text(), other = dir->filePath(QStringLiteral("other"));
        QVERIFY(QDir().mkdir(other));
        if (how == QLatin1String("cancel"))
            driver->onNext<QFileDialog>("chooser", [other](QFileDialog* d) { d->setDirectory(other), d->reject(); });
        else
            driver->acceptFileDialog(how == QLatin1String("accept") ? other : how);
        const bool refused = how.startsWith(QLatin1Char('/'));
        if (refused)
            driver->answerTip(1);
        w<QPushButton>("packageSelectButton")->click();
        QCOMPARE(locationEdit()->text(), how == QLatin1String("accept") ? other : before);
        QCOMPARE(driver->tipTexts(), refused ? QStringList{QStringLiteral("NoPermission")} : QStringList());
    }

    void startingShowsFirstTextsAndLeavesUserFilesAlone()
    {
        // No folder outside the location, none nested, none too long for the file system.
        int pos = 0;
        for (QString name : {QStringLiteral(".."), QStringLiteral("a/b"), QStringLiteral("a\\b"), QString(101, 'a'), QString(100, 'a')})
            QCOMPARE(nameEdit()->validator()->validate(name, pos), name.size() == 100 ? QValidator::Acceptable : QValidator::Invalid);
        // A file of the user's with the probe's name must survive the probe.
        QFile userFile(dir->filePath(QStringLiteral("tempfile.bin")));
        QVERIFY(userFile.open(QIODevice::WriteOnly) && userFile.write("mine") == 4);
        userFile.close();
        QSignalSpy begun(page.get(), &PackagePage::beginPackage);
        start();
        QVERIFY(userFile.open(QIODevice::ReadOnly) && userFile.readAll() == "mine");
        QCOMPARE(QDir(dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{QStringLiteral("tempfile.bin")});
        QCOMPARE(begun.count(), 1);
        QCOMPARE(begun.at(0).at(0).value<STPackage>().mediaList, (std::vector<std::int64_t>{7, -3}));
        QCOMPARE(begun.at(0).at(1).toString() + begun.at(0).at(2).toString(), QStringLiteral("Show") + dir->path());
        QCOMPARE(mgr->stopPackageValues(), std::vector<bool>{false});
        QCOMPARE(w("packageRemainTime")->text() + w("packageFinishedSize")->text() + w("packageTotalSize")->text(),
                 QStringLiteral("00:00:000.0K/1000.0B "));
        QCOMPARE(look(), QStringLiteral("CancelPackage 1 0 1"));
        // The space check never takes the cancel button away.
        gFreeBytes = 0;
        page->setMediaSize(STPackageInfo());
        QVERIFY(button()->isEnabled());
    }

    void startThatCannotBeginStaysIdle_data()
    {
        QTest::addColumn<QString>("blocker"); // what already stands in the way
        QTest::addColumn<QString>("tip");
        QTest::newRow("folder of that name") << "folder" << "ReSelect";
        QTest::newRow("file of that name") << "file" << "ReSelect";
        QTest::newRow("location not writable") << "location" << "NoPermission";
    }

    void startThatCannotBeginStaysIdle()
    {
        QFETCH(QString, blocker);
        QFETCH(QString, tip);
        const QString taken = dir->filePath(QStringLiteral("Taken"));
        QFile file(taken);
        QVERIFY(blocker == QLatin1String("folder") ? QDir().mkdir(taken) : file.open(QIODevice::WriteOnly));
        if (blocker == QLatin1String("location")) {
            const QSignalBlocker noCheck(locationEdit());
            locationEdit()->setText(taken); // a file, not a folder
        }
        driver->answerTip(1);
        start(QStringLiteral("Taken"));
        QCOMPARE(driver->tipTexts(), QStringList{tip});
        QVERIFY(mgr->stopPackageValues().empty());
        QCOMPARE(look(), QStringLiteral("ToPackage 1 1 0"));
    }

    // A report shows the speed it came at and the time left at that speed.
    void reportShowsSpeedAndTimeLeft()
    {
        gFreeBytes = 1ULL << 50;
        setMedia(1ULL << 40); // hours to go at any speed a test reaches
        start();
        QCOMPARE(look(), QStringLiteral("CancelPackage 1 0 1"));
        const QString probed = w("packageSpeed")->text();
        QTest::qWait(5); // so the report comes at a rate of its own, a few hundred bytes a second at most
        raise([](RecordingManager* m) { m->sigPackageProgress(1); });
        QTRY_COMPARE(w("packageFinishedSize")->text(), QStringLiteral("1.0B "));
        QVERIFY2(w("packageSpeed")->text() != probed && w("packageSpeed")->text().endsWith("B/s"), qPrintable(probed));
        QVERIFY(QRegularExpression("^\\d\\d+:\\d\\d:\\d\\d$").match(w("packageRemainTime")->text()).hasMatch());
        QVERIFY(w("packageRemainTime")->text() != QStringLiteral("00:00:00"));
    }

    // Every report counts and the GUI shows the newest texts, not a backlog.
    // A close asks first; a yes cancels and waits for the host, and reports
    // that still come in meanwhile are counted from zero.
    void foreignReportsThenCloseWhilePackaging()
    {
        page->show();
        setMedia(2500000);
        start();
        RecordingManager* m = mgr.get();
        std::thread reporter([m] {
            for (int i = 0; i < 3000; ++i)
                m->sigPackageProgress(1000);
        });
        QTRY_COMPARE(w("packageFinishedSize")->text(), QStringLiteral("2.9M "));
        reporter.join();
        QCOMPARE(w("packageRemainTime")->text() + QString::number(w<QProgressBar>("packageProgressBar")->value()), QStringLiteral("00:00:00100"));
        // Escape is swallowed while packaging.
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(page.get(), &escape);
        QVERIFY(escape.isAccepted());
        driver->answerTip(vexatest::ModalDriver::EnterKey); // Enter keeps it going
        page->close();
        QCOMPARE(look(), QStringLiteral("CancelPackage 1 0 1"));
        driver->answerTip(1);
        page->close();
        QVERIFY(page->isVisible());
        QCOMPARE(look(), QStringLiteral("Canceling 0 1 0"));
        QCOMPARE(mgr->stopPackageValues(), (std::vector<bool>{false, true}));
        raise([](RecordingManager* m) { m->sigPackageProgress(700); });
        QTRY_COMPARE(w("packageFinishedSize")->text(), QStringLiteral("0.0B "));
        // The space check must not re-enable the button before the host is ready.
        page->setMediaSize(STPackageInfo());
        QVERIFY(!button()->isEnabled());
        raise([](RecordingManager* m) { m->sigPackageAble(); });
        QTRY_VERIFY(!page->isVisible());
        QCOMPARE(look(), QStringLiteral("ToPackage 1 1 0"));
    }

    // Without a mouse: the package button has the focus on opening, and Enter
    // packages from anywhere but never cancels; Escape leaves, but not while
    // packaging; whatever a screen reader can act on is named, and the
    // progress reads its figures.
    void keyboardAndScreenReader()
    {
        page->setDefaultFolderName(QStringLiteral("Show"));
        page->show();
        QVERIFY(QTest::qWaitForWindowActive(page.get()));
        QCOMPARE(QApplication::focusWidget(), button());
        nameEdit()->setFocus(Qt::TabFocusReason);
        for (const QString language : {"en", "zh_CN", "xx"}) {
            page->switchLanguage(language);
            QVERIFY2(vexatest::unnamedActionable(page.get()).isEmpty(), qPrintable(language));
        }
        vexatest::typeKeys(page.get(), QStringLiteral("Return"));
        QCOMPARE(look(), QStringLiteral("CancelPackage 1 0 1"));
        vexatest::typeKeys(page.get(), QStringLiteral("Return Esc"));
        QCOMPARE(look(), QStringLiteral("CancelPackage 1 0 1"));
        QVERIFY(page->isVisible());
        raise([](RecordingManager* m) { m->sigPackageProgress(500); });
        QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(w<QProgressBar>("packageProgressBar"));
        QCOMPARE(bar->text(QAccessible::Name), QStringLiteral("PackageProgress"));
        QTRY_COMPARE(bar->text(QAccessible::Description),
                     QStringLiteral("ProgressFacts Speed%1 RemainTime%2").arg(w("packageSpeed")->text(), w("packageRemainTime")->text()));
        page->stopPackage();
        vexatest::typeKeys(page.get(), QStringLiteral("Esc"));
        QVERIFY(!page->isVisible());
    }

    // The host's end report, alone or crossing the user's cancel or close question.
    void endReportLeavesTheDialogUsable()
    {
        page->show();
        start();
        page->stopPackage();
        QCOMPARE(look() + w("packageSpeed")->text() + w("packageTotalSize")->text(), QStringLiteral("ToPackage 1 1 0"));
        page->stopPackage(); // a second report starts nothing new
        start(QStringLiteral("Second"));
        button()->click();
        page->stopPackage();
        QCOMPARE(look(), QStringLiteral("ToPackage 1 1 0"));
        start(QStringLiteral("Third"));
        PackagePage* dialog = page.get();
        driver->onNext<vexa::widgets::TipDialog>("close question", [dialog](vexa::widgets::TipDialog* tip) {
            // The host finishes while the user reads the question, then the user says yes.
            dialog->stopPackage();
            dialog->close();
            tip->findChild<QAbstractButton*>(QStringLiteral("tipConfirmButton"))->click();
        });
        page->close();
        QVERIFY(!page->isVisible());
        QCOMPARE(mgr->stopPackageValues(), (std::vector<bool>{false, true, false, true, false, true}));
        // Shown again before the host has stopped the last package, the dialog still waits
        // for it and offers no new one; the host's answer does not close this opening.
        page->show();
        start(QStringLiteral("Next"));
        driver->answerTip(1);
        page->close(); // yes: cancelling, to close once the host is ready
        page->hide();
        page->show();
        QCOMPARE(look(), QStringLiteral("Canceling 0 1 0"));
        raise([](RecordingManager* m) { m->sigPackageAble(); });
        QTRY_COMPARE(look(), QStringLiteral("ToPackage 1 1 0"));
        QVERIFY(page->isVisible());
    }
};

VEXA_TEST_MAIN(TestPackagePage)
#include "tst_packagepage.moc"
