#include "recentfilter.h"

#include "recentprojectstore.h"

#include <algorithm>

namespace vexa {
namespace projectfilemgr {

QString RecentFilter::fold(const QString& text)
{
    // ASCII, as most paths are, is its own composition and folds by lowering
    // A to Z alone; the general way costs several times that per letter, which
    // the first key pays for every entry of a long list.
    const auto ascii = [](QChar c) { return c.unicode() < 0x80; };
    if (std::all_of(text.cbegin(), text.cend(), ascii)) {
        QString folded = text;
        for (QChar& c : folded) {
            if (c.unicode() >= 'A' && c.unicode() <= 'Z')
                c = QChar(c.unicode() + ('a' - 'A'));
        }
        return folded;
    }
    // Compatibility composition makes full-width Latin, as CJK input methods
    // type it, and decomposed accents match their usual forms.
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

void RecentFilter::setText(const QString& text)
{
    typed = text;
    wanted = fold(text.trimmed());
    matcher.setPattern(wanted);
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
    // One letter is found fastest by contains(), which looks for it vectorised;
    // longer text by the matcher, which skips through a path by its table.
    return wanted.size() == 1 ? path.contains(wanted) : matcher.indexIn(path) >= 0;
}

} // namespace projectfilemgr
} // namespace vexa
