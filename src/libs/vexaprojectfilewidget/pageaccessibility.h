#pragma once

class QLabel;

namespace vexa {
namespace projectfilemgr {

// Gives screen readers what Qt alone cannot tell them about the page: the
// recent list's rows (painted tiles, see RecentListAccessible) and the legal
// labels that act as links. Called by every page; the library takes it back
// when it is unloaded.
void installPageAccessibility();

// Makes the label read as a link whose press is Enter on it.
void markAsLink(QLabel* label);

} // namespace projectfilemgr
} // namespace vexa
