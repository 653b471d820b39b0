#pragma once

#include <QString>

// The start page with a few projects on a share whose every question takes
// seconds, against the same page with every project local: run() until
// painted, and the longest the GUI thread went without turning its event
// loop in the first seconds.
//
// `program` is this benchmark, run again as a child per measurement;
// `files` holds the projects made by the main mode.
int measureStorage(const QString& program, const QString& files);
// The child: one page, one line of figures.
int measureStorageOne(const QString& files, const QString& share, int onShare);
