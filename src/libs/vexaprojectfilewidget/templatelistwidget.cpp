#include "templatelistwidget.h"

#include "templatelistitem.h"
#include "tilelistkeys.h"

#include <QKeyEvent>
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
    // Reached by Tab, so a template can be chosen without a mouse.
    setFocusPolicy(Qt::StrongFocus);
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
        if (auto* tile = qobject_cast<TemplateListItem*>(itemWidget(item(row)))) {
            tile->translateLanguage();
            // The row itself carries no text: the tile paints its caption.
            item(row)->setData(Qt::AccessibleTextRole, tile->caption());
        }
    }
}

void TemplateListWidget::wheelEvent(QWheelEvent* event)
{
    // The tiles never scroll; the wheel belongs to the parents.
    event->ignore();
}

void TemplateListWidget::keyPressEvent(QKeyEvent* event)
{
    // No tile has a menu (a right click shows none), so only activation is added.
    if (currentItem() && tileKey(event, true) == TileKey::Activate)
        Q_EMIT keyActivated(currentItem());
    else
        QListWidget::keyPressEvent(event);
}

} // namespace projectfilemgr
} // namespace vexa
