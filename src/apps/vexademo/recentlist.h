#pragma once

// The host's side of the recent project list: the start page reads, prunes
// and rewrites the list file; the host adds an entry after a project opened.

#include <QString>

namespace vexademo {

// The list file in the application data folder.
QString recentListPath();

// Puts the project at the front of the list, or refreshes its entry (name,
// thumbnail, damaged mark cleared) where it already is. A list file that does
// not parse is kept aside and the list started afresh; one that cannot be
// read at all is left as it is. Safe on any thread.
bool addRecentProject(const QString& listPath, const QString& projectPath, const QString& name,
                      const QString& imagePath);

} // namespace vexademo
