#pragma once

// The dialogs of the open, new and save flows: the file dialogs with the
// page's labels, the save dialog that insists on a usable name, and the
// questions and tips on the way.

#include <QString>

class QFileDialog;

namespace vexa {
namespace projectfilemgr {

// Qt's own dialog (so the host's style sheet and tests reach it), starting
// on the desktop, with the page's labels.
void setupFileDialog(QFileDialog* dialog);

// The project the user picks to open; empty when none.
QString chooseProjectToOpen();

// The path for a new or saved-as project. A name the rules refuse, or a
// folder the user cannot write to, is told and the dialog comes again;
// empty when the user gives up.
QString showSelectFileDialog(int backupPathLength);

// Whether the user agrees to replace the existing file.
bool askCover();

void showMessageTip(const QString& text);

// Tells the user that a damaged list of recent projects was started afresh
// and where its copy was kept (nothing when `copy` is empty). The tip comes
// once the work under way is done: it runs a loop of its own.
void tellListFileKept(const QString& copy);

} // namespace projectfilemgr
} // namespace vexa
