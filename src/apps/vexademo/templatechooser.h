#pragma once

// The scene templates offered by New outside the start page.

class QWidget;

namespace vexademo {

// Lets the user pick a scene template; its type (1 to 3), or 0 when cancelled.
int chooseTemplate(QWidget* parent = nullptr);

} // namespace vexademo
