#pragma once
#include <QtCore/qglobal.h>
#if defined(VEXAWIDGETS_LIBRARY)
#define VEXAWIDGETS_EXPORT Q_DECL_EXPORT
#else
#define VEXAWIDGETS_EXPORT Q_DECL_IMPORT
#endif
