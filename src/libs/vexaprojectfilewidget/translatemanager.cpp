#include "translatemanager.h"

#include "translator.h"

TranslateManager::TranslateManager() : translator_(new norvane::trans::Translator) {}

TranslateManager::~TranslateManager() = default;

TranslateManager& TranslateManager::instance()
{
    // Function-local static: the first creation is thread-safe.
    static TranslateManager manager;
    return manager;
}

norvane::trans::Translator& TranslateManager::translator()
{
    return *translator_;
}

namespace vexa {
namespace projectfilemgr {

QString trText(const QString& key)
{
    return norvane::trans::translate(TranslateManager::instance().translator(), QStringLiteral("ProjectFile"),
                                     QStringLiteral("Widget"), key);
}

} // namespace projectfilemgr
} // namespace vexa
