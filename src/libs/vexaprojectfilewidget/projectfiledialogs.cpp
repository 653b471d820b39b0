#include "projectfiledialogs.h"

#include "desktopfolder.h"
#include "framelessmainwindow.h"
#include "hxcutils.h"
#include "projectnamerules.h"
#include "tipdialog.h"
#include "translatemanager.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QPointer>
#include <QTimer>

namespace vexa {
namespace projectfilemgr {

namespace {

enum class SaveChoice { Chosen, Again, GaveUp };

// Turns the main window's activation back on a little after the last save
// dialog closed. A dialog opened meanwhile stops it: it would come on under that one.
QTimer* activationTimer()
{
    static QPointer<QTimer> timer;
    if (!timer) {
        timer = new QTimer(QCoreApplication::instance());
        timer->setSingleShot(true);
        timer->setInterval(100);
        QObject::connect(timer, &QTimer::timeout, [] {
            if (auto* window = vexa::widgets::FramelessMainWindow::getMainWindow())
                window->setActivateEnabled(true);
        });
    }
    return timer;
}

// One round of the save dialog; `path` is what it chose when Chosen.
SaveChoice askSavePathOnce(int backupPathLength, QString& path)
{
    const QString filter = QStringLiteral("%1(*%2)").arg(QStringLiteral("file"), QLatin1String(kProjectExtension));
    const QString proposedName = QStringLiteral("/%1-%2").arg(
        QStringLiteral("project"), QDateTime::currentDateTime().toString(QStringLiteral("MM-dd-hh-mm-ss")));
    QFileDialog dialog(nullptr);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    setupFileDialog(&dialog);
    dialog.setWindowTitle(trText(QStringLiteral("ChooseSaveDir")));
    dialog.selectFile(desktopFolder() + proposedName);
    dialog.setNameFilter(filter);
    activationTimer()->stop();
    if (auto* window = vexa::widgets::FramelessMainWindow::getMainWindow())
        window->setActivateEnabled(false);
    if (dialog.exec() != QDialog::Accepted)
        return SaveChoice::GaveUp;
    const QStringList selection = dialog.selectedFiles();
    if (selection.isEmpty() || selection.first().isEmpty())
        return SaveChoice::GaveUp;

    const ProjectSaveName name = projectSaveName(selection.first());
    if (!isLegalProjectName(name, backupPathLength)) {
        qWarning() << name.fileName << " :fileName have illegal character";
        showMessageTip(trText(QStringLiteral("FileNameTip")));
        return SaveChoice::Again;
    }
    if (!folderWritePermission(name.folder.toStdString())) {
        qWarning() << " This Dir have no permission!";
        showMessageTip(trText(QStringLiteral("NoPermission")));
        return SaveChoice::Again;
    }
    path = name.path;
    return SaveChoice::Chosen;
}

} // namespace

void setupFileDialog(QFileDialog* dialog)
{
    if (!dialog)
        return;
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setDirectory(desktopFolder());
    dialog->setViewMode(QFileDialog::Detail);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog->setAcceptDrops(false);
    dialog->setLabelText(QFileDialog::FileName, trText(QStringLiteral("Name")));
    dialog->setLabelText(QFileDialog::FileType, trText(QStringLiteral("FileType")));
    dialog->setLabelText(QFileDialog::Reject, trText(QStringLiteral("Cancel")));
    dialog->setLabelText(QFileDialog::Accept, trText(QStringLiteral("OK")));
}

QString chooseProjectToOpen()
{
    const QString filter = QStringLiteral("*%1").arg(QLatin1String(kProjectExtension), 0, QLatin1Char(' '));
    QStringList selection;
    try {
        QFileDialog dialog(nullptr, QString(), QString(), QString());
        setupFileDialog(&dialog);
        dialog.setNameFilter(filter);
        dialog.setWindowTitle(trText(QStringLiteral("ChooseFile")));
        if (dialog.exec() == QDialog::Accepted)
            selection = dialog.selectedFiles();
    } catch (...) {
        qDebug() << "fileDialog.exec Exception";
        selection.clear();
    }
    return selection.isEmpty() ? QString() : selection.first();
}

QString showSelectFileDialog(int backupPathLength)
{
    QString path;
    SaveChoice choice = SaveChoice::Again;
    while (choice == SaveChoice::Again)
        choice = askSavePathOnce(backupPathLength, path);
    activationTimer()->start();
    return choice == SaveChoice::Chosen ? path : QString();
}

bool askCover()
{
    vexa::widgets::TipDialog tip(vexa::widgets::TipQuestion, nullptr);
    tip.setTipText(trText(QStringLiteral("WhetherCover")));
    tip.setBtnText(trText(QStringLiteral("OK")), trText(QStringLiteral("Cancel")), QString());
    // Enter keeps the file that is there.
    tip.setDefaultButton(2);
    const int code = tip.run().buttonCode;
    return code != 0 && code != 2;
}

void showMessageTip(const QString& text)
{
    vexa::widgets::TipDialog tip(vexa::widgets::TipMessage, nullptr);
    tip.setTipText(text);
    tip.run();
}

void tellListFileKept(const QString& copy)
{
    if (copy.isEmpty())
        return;
    QTimer::singleShot(0, [copy] {
        showMessageTip(
            QStringLiteral("%1\n%2").arg(trText(QStringLiteral("ListFileKeptTip")), QDir::toNativeSeparators(copy)));
    });
}

} // namespace projectfilemgr
} // namespace vexa
