#include "pageaccessibility.h"

#include "filelistwidget.h"
#include "recentlistaccessible.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QTimer>

namespace vexa {
namespace projectfilemgr {

namespace {

const char kLinkProperty[] = "accessibleLink";

// A label the page opens a document from: a link, named by its text, whose
// press does what Enter on it does.
class LinkAccessible : public QAccessibleWidget
{
public:
    explicit LinkAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override
    {
        const QString own = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && own.isEmpty())
            return static_cast<QLabel*>(widget())->text();
        return own;
    }

    QStringList actionNames() const override { return QStringList(pressAction()) + QAccessibleWidget::actionNames(); }

    void doAction(const QString& actionName) override
    {
        if (actionName != pressAction()) {
            QAccessibleWidget::doAction(actionName);
            return;
        }
        // Later, from the event loop: the screen reader waits for this call.
        QPointer<QWidget> label = widget();
        QTimer::singleShot(0, label, [label] {
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            if (label)
                QCoreApplication::sendEvent(label, &enter);
        });
    }
};

QAccessibleInterface* pageInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String("vexa::projectfilemgr::FileListWidget"))
        return new RecentListAccessible(static_cast<FileListWidget*>(object));
    if (className == QLatin1String("QLabel") && object->property(kLinkProperty).toBool())
        return new LinkAccessible(static_cast<QLabel*>(object));
    return nullptr;
}

struct Installed {
    Installed() { QAccessible::installFactory(pageInterface); }
    ~Installed() { QAccessible::removeFactory(pageInterface); }
};

} // namespace

void installPageAccessibility()
{
    static Installed installed;
}

void markAsLink(QLabel* label)
{
    label->setProperty(kLinkProperty, true);
}

} // namespace projectfilemgr
} // namespace vexa
