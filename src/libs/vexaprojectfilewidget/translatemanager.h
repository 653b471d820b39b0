#pragma once

#include "vexaprojectfilewidget_global.h"

#include <QString>
#include <memory>

namespace norvane {
namespace trans {
class Translator;
}
} // namespace norvane

// Holds the library's one translator. Every text of the library is looked up
// through it with the module "ProjectFile" and the group "Widget".
class VEXAPROJECTFILEWIDGET_EXPORT TranslateManager
{
public:
    static TranslateManager& instance();
    ~TranslateManager();

    norvane::trans::Translator& translator();

    TranslateManager(const TranslateManager&) = delete;
    TranslateManager& operator=(const TranslateManager&) = delete;

private:
    TranslateManager();
    std::unique_ptr<norvane::trans::Translator> translator_;
};

namespace vexa {
namespace projectfilemgr {

// The text for a key of the library's table in the current language.
VEXAPROJECTFILEWIDGET_EXPORT QString trText(const QString& key);

} // namespace projectfilemgr
} // namespace vexa
