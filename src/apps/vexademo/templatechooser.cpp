#include "templatechooser.h"

#include "demoproject.h"
#include "hosttext.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexademo {

int chooseTemplate(QWidget* parent)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("templateChooser"));
    dialog.setWindowTitle(ht("ChooseTemplate"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* title = new QLabel(ht("ChooseTemplate"), &dialog);
    title->setObjectName(QStringLiteral("sectionTitle"));
    layout->addWidget(title);

    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("templateChoices"));
    list->setViewMode(QListView::IconMode);
    list->setMovement(QListView::Static);
    list->setFlow(QListView::LeftToRight);
    list->setWrapping(false); // one row of three, never a scroll bar
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setIconSize(QSize(160, 90));
    list->setGridSize(QSize(190, 130));
    list->setFixedSize(3 * 190 + 2 * list->frameWidth() + 8, 130 + 2 * list->frameWidth() + 8);
    static const char* const icons[] = {"template_blank", "template_two", "template_three"};
    for (int type = 1; type <= 3; ++type) {
        auto* item = new QListWidgetItem(QIcon(QStringLiteral(":/vexademo/theme/%1.svg").arg(QLatin1String(icons[type - 1]))),
                                         ht(templateName(type).toLatin1().constData()), list);
        item->setData(Qt::UserRole, type);
    }
    list->setCurrentRow(0);
    layout->addWidget(list);

    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(ht("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(ht("Cancel"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);

    if (dialog.exec() != QDialog::Accepted || !list->currentItem())
        return 0;
    return list->currentItem()->data(Qt::UserRole).toInt();
}

} // namespace vexademo
