#pragma once

#include "hxtranslate_global.h"

#include <QString>
#include <memory>

namespace norvane {
namespace trans {

// Holds any number of compiled language files (Qt Linguist .qm, one per
// language) and one active language. A key is looked up with the module as
// context, the key as source text and the group as disambiguation.
class HXTRANSLATE_EXPORT Translator
{
public:
    Translator();
    ~Translator();
    Translator(const Translator&) = delete;
    Translator& operator=(const Translator&) = delete;

    // Reads a language file; its language is the one recorded in the file,
    // or the file name's suffix ("name_zh_CN.qm" -> "zh_CN"). False when unreadable.
    bool load(const QString& filePath);

    // Makes the language with this code current ("zh_CN", "en"; case does
    // not matter). An unknown code is kept, and every lookup is then empty.
    void switchLanguage(const QString& language);
    QString language() const;

    // The text for the key in the current language; empty when missing.
    // As with any .qm lookup, the group only decides between entries that
    // share a key; a key with a single entry is found under any group.
    QString text(const QString& module, const QString& group, const QString& key) const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

HXTRANSLATE_EXPORT QString translate(Translator& translator, const QString& module, const QString& group,
                                     const QString& key);

} // namespace trans
} // namespace norvane
