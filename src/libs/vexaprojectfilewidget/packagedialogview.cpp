#include "packagedialogview.h"

#include "controls.h"
#include "desktopfolder.h"
#include "dialog.h"
#include "translatemanager.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QProgressBar>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace vexa {
namespace projectfilemgr {

namespace {

void repolish(QWidget* widget)
{
    widget->style()->unpolish(widget);
    widget->style()->polish(widget);
}

QLabel* smallLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setProperty("fontSize", QStringLiteral("S"));
    return label;
}

} // namespace

void PackageDialogView::build(vexa::widgets::Dialog* owner)
{
    dialog = owner;
    QWidget* content = dialog->dialogWidget();
    createInputs(content);
    createProgress(content);
    layOut(content);
    progressWidget->hide();
    // Screen readers name a box or a figure by the caption beside it.
    nameLabel->setBuddy(nameEdit);
    locationLabel->setBuddy(locationEdit);
    fileSizeLabel->setBuddy(fileSizeValue);
    remainSpaceLabel->setBuddy(remainSpaceValue);
    speedLabel->setBuddy(speedValue);
    remainTimeLabel->setBuddy(remainTimeValue);
}

void PackageDialogView::createInputs(QWidget* content)
{
    selectFilesLabel = new QLabel(content);
    selectFilesLabel->setFixedWidth(72);
    usedMediasRadio = new QRadioButton(content);
    usedMediasRadio->setObjectName(QStringLiteral("packageUsedMedias"));
    usedMediasRadio->setFixedHeight(24);
    usedMediasRadio->setChecked(true);
    allMediasRadio = new QRadioButton(content);
    allMediasRadio->setObjectName(QStringLiteral("packageAllMedias"));
    allMediasRadio->setFixedHeight(24);
    auto* mediaGroup = new QButtonGroup(content);
    mediaGroup->setExclusive(true);
    mediaGroup->addButton(usedMediasRadio);
    mediaGroup->addButton(allMediasRadio);

    nameLabel = new QLabel(content);
    nameLabel->setFixedWidth(72);
    nameEdit = new vexa::widgets::EditBox(content);
    nameEdit->setObjectName(QStringLiteral("packageNameEdit"));
    nameEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^[^.\\\\/?\"<>:*|]{0,100}$")), nameEdit));
    // The dialog itself watches the box, so its focus-out reaches eventFilter.
    nameEdit->installEventFilter(dialog);

    locationLabel = new QLabel(content);
    locationLabel->setFixedWidth(72);
    locationEdit = new vexa::widgets::EditBox(content);
    locationEdit->setObjectName(QStringLiteral("packageLocationEdit"));
    locationEdit->setReadOnly(true);
    locationEdit->setText(desktopFolder());
    selectButton = new vexa::widgets::PushButton(content);
    selectButton->setObjectName(QStringLiteral("packageSelectButton"));
    selectButton->setFixedSize(64, 24);
    selectButton->setProperty("style", QStringLiteral("general"));

    fileSizeLabel = new QLabel(content);
    fileSizeValue = new QLabel(content);
    fileSizeValue->setObjectName(QStringLiteral("packageFileSize"));
    remainSpaceLabel = new QLabel(content);
    remainSpaceValue = new QLabel(content);
    remainSpaceValue->setObjectName(QStringLiteral("packageRemainSpace"));
    noSpaceButton = new vexa::widgets::PushButton(content);
    noSpaceButton->setObjectName(QStringLiteral("shareSpaceTips"));
    // At least 100 wide, wider when its text and the style's padding need it:
    // a fixed width cut the longer translations on both sides.
    noSpaceButton->setFixedHeight(24);
    noSpaceButton->setMinimumWidth(100);
    noSpaceButton->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
}

void PackageDialogView::createProgress(QWidget* content)
{
    progressWidget = new QWidget(content);
    progressWidget->setObjectName(QStringLiteral("packageProgress"));
    progressBar = new QProgressBar(progressWidget);
    progressBar->setObjectName(QStringLiteral("packageProgressBar"));
    progressBar->setRange(0, 100);
    progressBar->setValue(0);
    progressBar->setFixedHeight(6);
    finishedSizeLabel = smallLabel(progressWidget);
    finishedSizeLabel->setObjectName(QStringLiteral("packageFinishedSize"));
    totalSizeLabel = smallLabel(progressWidget);
    totalSizeLabel->setObjectName(QStringLiteral("packageTotalSize"));
    speedLabel = smallLabel(progressWidget);
    speedValue = smallLabel(progressWidget);
    speedValue->setObjectName(QStringLiteral("packageSpeed"));
    remainTimeLabel = smallLabel(progressWidget);
    remainTimeValue = smallLabel(progressWidget);
    remainTimeValue->setObjectName(QStringLiteral("packageRemainTime"));

    packageButton = new vexa::widgets::PushButton(content);
    packageButton->setObjectName(QStringLiteral("packageButton"));
    packageButton->setFixedHeight(24);
    packageButton->setMinimumWidth(52);
    packageButton->setProperty("style", QStringLiteral("general"));
    // Enter starts a package from anywhere in the dialog, but never stops one:
    // the dialog makes it the default only while idle.
    packageButton->setAutoDefault(false);
}

void PackageDialogView::layOut(QWidget* content)
{
    auto* mediaRow = new QHBoxLayout;
    mediaRow->setSpacing(12);
    mediaRow->addWidget(selectFilesLabel);
    mediaRow->addWidget(usedMediasRadio);
    mediaRow->addWidget(allMediasRadio);
    mediaRow->addStretch();

    auto* nameRow = new QHBoxLayout;
    nameRow->setSpacing(12);
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(nameEdit);

    auto* locationRow = new QHBoxLayout;
    locationRow->setSpacing(12);
    locationRow->addWidget(locationLabel);
    locationRow->addWidget(locationEdit);
    locationRow->addWidget(selectButton);

    auto* sizeRow = new QHBoxLayout;
    sizeRow->setSpacing(0);
    sizeRow->addSpacing(84); // caption width plus spacing, so the texts line up with the boxes
    sizeRow->addWidget(fileSizeLabel);
    sizeRow->addWidget(fileSizeValue);
    sizeRow->addWidget(remainSpaceLabel);
    sizeRow->addWidget(remainSpaceValue);
    sizeRow->addStretch();

    // A line of its own: beside the sizes, the longer translations ran out
    // of the dialog's width.
    auto* noSpaceRow = new QHBoxLayout;
    noSpaceRow->setSpacing(0);
    noSpaceRow->addSpacing(84);
    noSpaceRow->addWidget(noSpaceButton);
    noSpaceRow->addStretch();

    auto* progressTextRow = new QHBoxLayout;
    progressTextRow->setSpacing(0);
    progressTextRow->addWidget(finishedSizeLabel);
    progressTextRow->addWidget(totalSizeLabel);
    progressTextRow->addSpacing(8);
    progressTextRow->addWidget(speedLabel);
    progressTextRow->addWidget(speedValue);
    progressTextRow->addStretch();
    progressTextRow->addWidget(remainTimeLabel);
    progressTextRow->addWidget(remainTimeValue);

    auto* progressLayout = new QVBoxLayout(progressWidget);
    progressLayout->setSpacing(0);
    progressLayout->setContentsMargins(0, 0, 0, 12);
    progressLayout->addWidget(progressBar);
    progressLayout->addSpacing(4);
    progressLayout->addLayout(progressTextRow);

    auto* mainLayout = new QVBoxLayout(content);
    mainLayout->setSpacing(0);
    mainLayout->setContentsMargins(24, 24, 24, 24);
    mainLayout->addLayout(mediaRow);
    mainLayout->addSpacing(12);
    mainLayout->addLayout(nameRow);
    mainLayout->addSpacing(12);
    mainLayout->addLayout(locationRow);
    mainLayout->addSpacing(4);
    mainLayout->addLayout(sizeRow);
    mainLayout->addSpacing(6);
    mainLayout->addLayout(noSpaceRow);
    mainLayout->addSpacing(14);
    mainLayout->addWidget(progressWidget);
    mainLayout->addWidget(packageButton, 0, Qt::AlignHCenter);
}

void PackageDialogView::translate(const QString& buttonText)
{
    dialog->setTitle(trText(QStringLiteral("PackageSetting")));
    selectFilesLabel->setText(trText(QStringLiteral("SelectPackageFiles")));
    usedMediasRadio->setText(trText(QStringLiteral("UsedMedias")));
    allMediasRadio->setText(trText(QStringLiteral("AllMedias")));
    nameLabel->setText(trText(QStringLiteral("Name")));
    locationLabel->setText(trText(QStringLiteral("SelectLocation")));
    selectButton->setText(trText(QStringLiteral("Select")));
    fileSizeLabel->setText(trText(QStringLiteral("FileSize")));
    remainSpaceLabel->setText(trText(QStringLiteral("RemainPackageSpace")));
    packageButton->setText(buttonText);
    speedLabel->setText(trText(QStringLiteral("Speed")));
    remainTimeLabel->setText(trText(QStringLiteral("RemainTime")));
    noSpaceButton->setText(trText(QStringLiteral("NoSpace")));
    progressBar->setAccessibleName(trText(QStringLiteral("PackageProgress")));
    describeProgress();
}

void PackageDialogView::describeProgress()
{
    progressBar->setAccessibleDescription(trText(QStringLiteral("ProgressFacts"))
                                              .arg(speedLabel->text(), speedValue->text(), remainTimeLabel->text(),
                                                   remainTimeValue->text()));
}

void PackageDialogView::markSpaceShort(bool isShort)
{
    if (noSpaceButton->isVisibleTo(dialog) != isShort) {
        noSpaceButton->setVisible(isShort);
        relayoutLater();
    }
    const QString style = isShort ? QStringLiteral("redTip") : QStringLiteral("normalTip");
    for (QLabel* label : {fileSizeLabel, fileSizeValue, remainSpaceLabel, remainSpaceValue}) {
        label->setProperty("style", style);
        repolish(label);
    }
}

void PackageDialogView::relayoutLater() const
{
    vexa::widgets::Dialog* page = dialog;
    QTimer::singleShot(10, page, [page] {
        if (QLayout* layout = page->dialogWidget()->layout())
            layout->activate();
        if (QLayout* layout = page->layout())
            layout->activate();
        // Only the dialog is sized to its contents; sizing the content area
        // on its own left it narrower or wider than the dialog, depending on
        // the texts of the moment.
        page->adjustSize();
    });
}

} // namespace projectfilemgr
} // namespace vexa
