#include "templatelistwidget.h"

#include "templatelistitem.h"

#include <QWheelEvent>

namespace vexa {
namespace projectfilemgr {

class TemplateListWidget::Impl
{
public:
    explicit Impl(TemplateListWidget* owner) : q(owner) {}
    TemplateListWidget* q;
};

TemplateListWidget::TemplateListWidget(QWidget* parent) : QListWidget(parent), d(new Impl(this))
{
    setResizeMode(QListView::Adjust);
    setViewMode(QListView::IconMode);
    setTextElideMode(Qt::ElideRight);
    setSpacing(20);
    setDragEnabled(false);
    setAcceptDrops(false);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setFocusPolicy(Qt::NoFocus);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setObjectName(QStringLiteral("TemplateListWidget"));
}

TemplateListWidget::~TemplateListWidget()
{
    d.reset();
}

void TemplateListWidget::addTemplateItem(int type)
{
    auto* tile = new TemplateListItem(type, this);
    auto* item = new QListWidgetItem(this);
    item->setSizeHint(QSize(250, 70));
    setItemWidget(item, tile);
    update();
}

void TemplateListWidget::translateLanguage()
{
    for (int row = 0; row < count(); ++row) {
        if (auto* tile = qobject_cast<TemplateListItem*>(itemWidget(item(row))))
            tile->translateLanguage();
    }
}

void TemplateListWidget::wheelEvent(QWheelEvent* event)
{
    // The tiles never scroll; the wheel belongs to the parents.
    event->ignore();
}

} // namespace projectfilemgr
} // namespace vexa
