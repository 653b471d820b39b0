#include "legaldocs.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

namespace vexademo {

namespace {

struct Document {
    const char* file;
    const char* title;
    const char* html;
};

const char kStyle[] = "<style>body{font-family:'DejaVu Sans','Droid Sans Fallback';font-size:10pt;}"
                      "h1{font-size:18pt;color:#1d4f91;} h2{font-size:12pt;color:#1d4f91;margin-top:14pt;}"
                      "p{line-height:140%;}</style>";

const Document kDocuments[] = {
    {"license/license_other.pdf", "Vexa LED Studio - License Agreement",
     "<h1>Vexa LED Studio License Agreement</h1>"
     "<p>This is the licence agreement of the Vexa LED Studio demonstration program. It explains what you may do "
     "with the program and what we promise in return.</p>"
     "<h2>1. Use</h2><p>You may install and run the program on any number of computers that you own or control, "
     "to prepare, test and show content for LED screens.</p>"
     "<h2>2. Your projects</h2><p>Projects, packages and media that you create remain yours. The program stores "
     "them only where you tell it to.</p>"
     "<h2>3. Restrictions</h2><p>You may not remove notices of ownership from the program or present it as your "
     "own work.</p>"
     "<h2>4. No warranty</h2><p>The program is provided as is, without warranty of any kind, to the extent "
     "permitted by law.</p>"
     "<h2>5. Third-party software</h2><p>The program includes software of other parties under their own licences; "
     "see the Third-Party Notices.</p>"},
    {"license/license_cn.pdf", "Vexa LED Studio 许可协议",
     "<h1>Vexa LED Studio 许可协议</h1>"
     "<p>本协议是 Vexa LED Studio 演示程序的许可协议，说明您可以如何使用本程序以及我们的承诺。</p>"
     "<h2>一、使用</h2><p>您可以在您拥有或管理的任意数量的计算机上安装和运行本程序，用于制作、测试和播放 LED 屏幕内容。</p>"
     "<h2>二、您的项目</h2><p>您创建的项目、打包文件和媒体归您所有。本程序只会将其保存在您指定的位置。</p>"
     "<h2>三、限制</h2><p>您不得删除本程序中的权属声明，也不得将本程序冒充为您自己的作品。</p>"
     "<h2>四、免责声明</h2><p>在法律允许的范围内，本程序按现状提供，不附带任何形式的保证。</p>"
     "<h2>五、第三方软件</h2><p>本程序包含按其各自许可证授权的第三方软件，详见《第三方软件声明》。</p>"},
    {"privacy/privacy_other.pdf", "Vexa LED Studio - Privacy Policy",
     "<h1>Vexa LED Studio Privacy Policy</h1>"
     "<p>The program works offline. It collects no personal data and sends nothing over the network.</p>"
     "<h2>What is stored on your computer</h2><p>A list of recently used projects with their thumbnails, in the "
     "program's data folder, and your language choice. You can remove an entry from the start page at any time.</p>"
     "<h2>Contact</h2><p>Questions about this policy can be sent to the publisher named in the program.</p>"},
    {"privacy/privacy_cn.pdf", "Vexa LED Studio 隐私政策",
     "<h1>Vexa LED Studio 隐私政策</h1>"
     "<p>本程序离线运行，不收集任何个人信息，也不会通过网络发送任何数据。</p>"
     "<h2>在您的计算机上保存的内容</h2><p>程序数据文件夹中的最近项目列表及其缩略图，以及您选择的语言。您可以随时在开始页移除列表中的项目。</p>"
     "<h2>联系我们</h2><p>如对本政策有疑问，请联系程序中注明的发布者。</p>"},
};

} // namespace

bool legalDocumentsPresent(const QString& shareDir)
{
    for (const Document& doc : kDocuments) {
        if (!QFileInfo(shareDir + QLatin1Char('/') + QLatin1String(doc.file)).isFile())
            return false;
    }
    return true;
}

bool writeLegalDocuments(const QString& shareDir)
{
    bool ok = true;
    for (const Document& doc : kDocuments) {
        const QString path = shareDir + QLatin1Char('/') + QLatin1String(doc.file);
        if (QFileInfo(path).isFile())
            continue;
        if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
            ok = false;
            continue;
        }
        QPdfWriter writer(path);
        writer.setTitle(QString::fromUtf8(doc.title));
        writer.setCreator(QStringLiteral("Vexa LED Studio"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
        QTextDocument text;
        text.setHtml(QString::fromUtf8(kStyle) + QString::fromUtf8(doc.html));
        text.print(&writer);
        ok = ok && QFileInfo(path).size() > 0;
    }
    return ok;
}

} // namespace vexademo
