#include "recentfilter.h"

#include "recentprojectstore.h"

namespace vexa {
namespace projectfilemgr {

QString RecentFilter::fold(const QString& text)
{
    // Compatibility composition makes full-width Latin, as CJK input methods
    // type it, and decomposed accents match their usual forms.
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

void RecentFilter::setText(const QString& text)
{
    typed = text;
    wanted = fold(text.trimmed());
}

bool RecentFilter::passes(const std::vector<ListedFile>& entries, std::uint32_t index)
{
    if (wanted.isEmpty())
        return true;
    if (index >= entries.size())
        return false;
    if (folded.size() < entries.size())
        folded.resize(entries.size());
    QString& path = folded[index];
    // Folded once per entry: each keystroke then only searches.
    if (path.isNull())
        path = fold(entries[index].path);
    return path.contains(wanted);
}

} // namespace projectfilemgr
} // namespace vexa
