#pragma once

// Which recent projects a filter text lets through: those whose name or
// folder holds the text, whatever the case, width or composition of its
// letters. It looks only at the paths the list holds, never at the disk.

#include <QString>
#include <QStringMatcher>
#include <cstdint>
#include <vector>

namespace vexa {
namespace projectfilemgr {

struct ListedFile;

class RecentFilter
{
public:
    // The text as typed; blank text lets everything through.
    void setText(const QString& text);
    const QString& text() const { return typed; }
    bool isActive() const { return !wanted.isEmpty(); }

    // Whether the entry at `index` of `entries` passes. The folded paths are
    // kept per index, so forget them when the entries are read anew.
    bool passes(const std::vector<ListedFile>& entries, std::uint32_t index);
    void forgetEntries() { folded.clear(); }

    // The form both sides are compared in.
    static QString fold(const QString& text);

private:
    QString typed;
    QString wanted;
    // For `wanted`, its skip table made once per text, not per entry.
    QStringMatcher matcher;
    std::vector<QString> folded;
};

} // namespace projectfilemgr
} // namespace vexa
