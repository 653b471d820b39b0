#include "translator.h"

#include <QFile>
#include <QFileInfo>
#include <QTranslator>

#include <map>
#include <vector>

namespace norvane {
namespace trans {

namespace {

// One loaded file. QTranslator reads straight from `data`, which must
// therefore live as long as the translator.
struct LoadedFile {
    QByteArray data;
    std::unique_ptr<QTranslator> translator;
};

// Language codes compare without case and with '-' and '_' alike ("zh-cn" = "zh_CN").
QString normalizedCode(const QString& code)
{
    QString result = code.trimmed().toLower();
    result.replace(QLatin1Char('-'), QLatin1Char('_'));
    return result;
}

// "projectfile_zh_CN.qm" -> "zh_CN"; a name without '_' is the code itself ("en.qm" -> "en").
QString languageFromFileName(const QString& filePath)
{
    const QString base = QFileInfo(filePath).fileName().section(QLatin1Char('.'), 0, 0);
    const int underscore = base.indexOf(QLatin1Char('_'));
    return underscore < 0 ? base : base.mid(underscore + 1);
}

} // namespace

struct Translator::Private {
    // Keyed by the normalised language code; files in loading order.
    std::map<QString, std::vector<std::unique_ptr<LoadedFile>>> files;
    QString language;
};

Translator::Translator() : d(std::make_unique<Private>()) {}

Translator::~Translator() = default;

bool Translator::load(const QString& filePath)
{
    QFile file(filePath);
    // Read the exact file: QTranslator::load(name) would fall back to
    // similarly named files when this one is missing.
    if (!QFileInfo(filePath).isFile() || !file.open(QIODevice::ReadOnly))
        return false;

    auto loaded = std::make_unique<LoadedFile>();
    loaded->data = file.readAll();
    if (loaded->data.isEmpty())
        return false;
    loaded->translator = std::make_unique<QTranslator>();
    if (!loaded->translator->load(reinterpret_cast<const uchar*>(loaded->data.constData()), loaded->data.size()))
        return false;

    QString language = loaded->translator->language();
    if (language.isEmpty())
        language = languageFromFileName(filePath);
    const QString key = normalizedCode(language);
    if (key.isEmpty())
        return false;
    d->files[key].push_back(std::move(loaded));
    return true;
}

void Translator::switchLanguage(const QString& language)
{
    d->language = language;
}

QString Translator::language() const
{
    return d->language;
}

QString Translator::text(const QString& module, const QString& group, const QString& key) const
{
    const auto found = d->files.find(normalizedCode(d->language));
    if (found == d->files.end())
        return QString();
    const QByteArray context = module.toUtf8();
    const QByteArray source = key.toUtf8();
    const QByteArray disambiguation = group.toUtf8();
    // A file loaded later overrides earlier ones of the same language, as
    // with translators installed into an application.
    const auto& files = found->second;
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        const QString text = (*it)->translator->translate(context.constData(), source.constData(),
                                                          group.isEmpty() ? nullptr : disambiguation.constData());
        if (!text.isEmpty())
            return text;
    }
    return QString();
}

QString translate(Translator& translator, const QString& module, const QString& group, const QString& key)
{
    return translator.text(module, group, key);
}

} // namespace trans
} // namespace norvane
