#pragma once

#include <QString>
#include <QStringList>

namespace vexademo {

// The host's own texts, looked up in the same translator as the start page's
// (module "VexaDemo", group "Host"); the key itself when it is missing.
QString ht(const char* key);

// Language files the demo loads: its own (the host's texts) and the start
// page's, from the shared data directory and beside the program.
QStringList languageFiles(const QString& shareDir);

// The widget kit's language file for this language (its dialogs' titles and
// default buttons go through Qt's translators), or empty when there is none.
QString kitLanguageFile(const QString& shareDir, const QString& language);

} // namespace vexademo
