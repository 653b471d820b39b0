#include "legaldocuments.h"

#include "vexaqutils.h"

#include <QCoreApplication>
#include <QDebug>
#include <QString>

namespace vexa {
namespace projectfilemgr {

namespace {

QString licenseFolder(bool chinese)
{
    return QStringLiteral("license") + (chinese ? QStringLiteral("/license_cn") : QStringLiteral("/license_other"));
}

// The notices of software from other parties are an HTML page beside the licence.
bool openThirdPartyLicense(bool chinese)
{
    const QString location = licenseFolder(chinese);
    const char* share = vexa::qutils::sharePath();
    const QString base =
        QStringLiteral("%1%2").arg(QCoreApplication::applicationDirPath(), QString::fromUtf8(share ? share : "")) +
        QStringLiteral("/");
    const QString file = QStringLiteral("%1%2%3").arg(
        base, location, chinese ? QStringLiteral("/third_copyright_zh.html") : QStringLiteral("/third_copyright_en.html"));
    return vexa::qutils::openShareDirFile(location, QStringLiteral("html"), file);
}

} // namespace

bool openLegalDocument(LegalDocument document, bool chinese)
{
    switch (document) {
    case LegalDocument::License: {
        const bool opened = vexa::qutils::openShareDirFile(licenseFolder(chinese), QStringLiteral("pdf"), QString());
        if (opened)
            qWarning() << "Open license agreenment text success!";
        else
            qWarning() << "Open license agreenment text failure!";
        return opened;
    }
    case LegalDocument::Privacy: {
        const QString location =
            QStringLiteral("privacy") + (chinese ? QStringLiteral("/privacy_cn") : QStringLiteral("/privacy_other"));
        const bool opened = vexa::qutils::openShareDirFile(location, QStringLiteral("pdf"), QString());
        if (opened)
            qWarning() << "Open privacy agreenment text success!";
        else
            qWarning() << "Open privacy agreenment text failure!";
        return opened;
    }
    case LegalDocument::ThirdPartyLicense: {
        const bool opened = openThirdPartyLicense(chinese);
        if (opened)
            qWarning() << "Open third party license text success!";
        else
            qWarning() << "Open third party license text failure!";
        return opened;
    }
    }
    return false;
}

} // namespace projectfilemgr
} // namespace vexa
