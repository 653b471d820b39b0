#include "templatelistitem.h"

#include "translatemanager.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVariant>
#include <map>

namespace vexa {
namespace projectfilemgr {

class TemplateListItem::Impl
{
public:
    explicit Impl(TemplateListItem* owner) : q(owner)
    {
        templateNames = {
            {1, QStringLiteral("BlankTemplate")},
            {2, QStringLiteral("TwoScreenTemplate")},
            {3, QStringLiteral("ThreeScreenTemplate")},
        };
    }

    TemplateListItem* q;
    QLabel* imageLabel = nullptr;
    QLabel* textLabel = nullptr;
    int type = 0;
    std::map<int, QString> templateNames;
};

TemplateListItem::TemplateListItem(int type, QWidget* parent) : QWidget(parent), d(new Impl(this))
{
    setObjectName(QStringLiteral("TemplateListItem"));
    setFixedSize(250, 70);
    setAttribute(Qt::WA_StyledBackground);
    d->type = type;

    d->imageLabel = new QLabel(this);
    d->imageLabel->setFixedSize(130, 70);
    const auto name = d->templateNames.find(type);
    if (name != d->templateNames.end())
        d->imageLabel->setObjectName(name->second);

    d->textLabel = new QLabel(this);
    d->textLabel->setFixedHeight(70);
    d->textLabel->setProperty("fontSize", QStringLiteral("L"));

    auto* layout = new QHBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(d->imageLabel);
    layout->addWidget(d->textLabel);
}

TemplateListItem::~TemplateListItem()
{
    d.reset();
}

int TemplateListItem::templateType() const
{
    return d->type;
}

void TemplateListItem::translateLanguage()
{
    const auto name = d->templateNames.find(d->type);
    d->textLabel->setText(name != d->templateNames.end() ? trText(name->second) : QString());
}

QString TemplateListItem::caption() const
{
    return d->textLabel->text();
}

} // namespace projectfilemgr
} // namespace vexa
