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
    bool opened = false;
    const char* what = "";
    switch (document) {
    case LegalDocument::License:
        opened = vexa::qutils::openShareDirFile(licenseFolder(chinese), QStringLiteral("pdf"), QString());
        what = "license agreenment";
        break;
    case LegalDocument::Privacy:
        opened = vexa::qutils::openShareDirFile(
            QStringLiteral("privacy") + (chinese ? QStringLiteral("/privacy_cn") : QStringLiteral("/privacy_other")),
            QStringLiteral("pdf"), QString());
        what = "privacy agreenment";
        break;
    case LegalDocument::ThirdPartyLicense:
        opened = openThirdPartyLicense(chinese);
        what = "third party license";
        break;
    }
    qWarning("Open %s text %s", what, opened ? "success!" : "failure!");
    return opened;
}

} // namespace projectfilemgr
} // namespace vexa
