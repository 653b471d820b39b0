#pragma once

// std::string travels in the signals of several of the page's parts, whose
// meta-object code is compiled together: Qt must know the type before the
// first of them, whichever that is.

#include <QMetaType>
#include <string>

Q_DECLARE_METATYPE(std::string)
