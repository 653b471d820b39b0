#include "startpageview.h"

#include "controls.h"
#include "filelistwidget.h"
#include "filterbox.h"
#include "pageaccessibility.h"
#include "qtcompat.h"
#include "templatelistwidget.h"
#include "translatemanager.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vexa {
namespace projectfilemgr {

namespace {

// Organisation names opening the copyright line: Chinese as GBK bytes, English as ASCII.
const char kCompanyNameChinese[] = "\xCE\xAC\xBF\xCB\xC8\xF8\xCF\xD4\xCA\xBE\xCF\xB5\xCD\xB3\xD3\xD0\xCF\xDE\xB9\xAB\xCB\xBE";
const char kCompanyNameEnglish[] = "Vexa Display Systems Co., Ltd.";

QBoxLayout* tight(QBoxLayout* layout, int spacing)
{
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

QLabel* captionLabel(const char* name, const char* text, QWidget* page)
{
    auto* label = new QLabel(QLatin1String(text), page);
    label->setObjectName(QLatin1String(name));
    label->setFixedHeight(14);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

vexa::widgets::PushButton* pageButton(const char* name, const char* style, QWidget* page)
{
    auto* button = new vexa::widgets::PushButton(page);
    button->setObjectName(QLatin1String(name));
    button->setFixedSize(80, 28);
    button->setProperty("style", QLatin1String(style));
    return button;
}

QLabel* legalLabel(const char* name, bool link, QWidget* page)
{
    auto* label = new QLabel(page);
    if (name)
        label->setObjectName(QLatin1String(name));
    if (link) {
        label->setProperty("style", QStringLiteral("highlightText"));
        // Reached by Tab only: a click opens the document and moves no focus, as before.
        label->setFocusPolicy(Qt::TabFocus);
        markAsLink(label);
    }
    label->setAlignment(Qt::AlignHCenter);
    return label;
}

} // namespace

void StartPageView::build(QWidget* page)
{
    createHeaderWidgets(page);
    createListWidgets(page);
    createButtons(page);
    createLegalLabels(page);

    auto* middleRow = new QHBoxLayout;
    middleRow->setSpacing(40);
    middleRow->addStretch(0);
    middleRow->addLayout(leftColumn());
    middleRow->addLayout(createCutLine(false));
    middleRow->addLayout(buttonColumn());
    middleRow->addStretch(0);

    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(28, 28, 28, 28);
    pageLayout->setSpacing(20);
    pageLayout->addWidget(headerRow(page));
    pageLayout->addLayout(createCutLine(true));
    pageLayout->addLayout(middleRow);
    pageLayout->addLayout(createCutLine(true));
    pageLayout->addWidget(copyrightLabel);
    pageLayout->addSpacing(-12);
    pageLayout->addLayout(legalRow());

    // Screen readers name a box by the caption beside it.
    languageLabel->setBuddy(languageComboBox);
    projectSortingLabel->setBuddy(sortComboBox);
    const QList<QWidget*> stops = tabStops();
    for (int i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops[i - 1], stops[i]);
}

QList<QWidget*> StartPageView::tabStops() const
{
    return {languageComboBox, filterBox,  sortComboBox, changeSortButton, templateList,          fileListWidget,
            newButton,        openButton, quitButton,   licenseLabel,     privacyLabel, thirdPartyLicenseLabel};
}

void StartPageView::createHeaderWidgets(QWidget* page)
{
    iconLabel = new QLabel(page);
    iconLabel->setFixedSize(80, 80);
    iconLabel->setProperty("labelImage", QStringLiteral("softIcon"));

    appNameLabel = new QLabel(QCoreApplication::applicationName().replace(QLatin1Char('_'), QLatin1Char(' ')), page);
    appNameLabel->setObjectName(QStringLiteral("appName"));

    versionLabel =
        new QLabel(QStringLiteral("V%1.%2.%3%4%5").arg(2).arg(4).arg(QString()).arg(0).arg(QString()), page);
    versionLabel->setObjectName(QStringLiteral("version"));

    languageLabel = new QLabel(page);
    languageLabel->setObjectName(QStringLiteral("languageLabel"));

    languageComboBox = new vexa::widgets::ComboBox(page);
    languageComboBox->setObjectName(QStringLiteral("languageComboBox"));
    languageComboBox->setFixedSize(120, 24);
    languageComboBox->addItem(trText(QStringLiteral("SimplifiedChinese")), QStringLiteral("zh_CN"));
    languageComboBox->addItem(trText(QStringLiteral("English")), QStringLiteral("en"));
}

void StartPageView::createListWidgets(QWidget* page)
{
    recentlyUsedLabel = new QLabel(page);
    projectSortingLabel = new QLabel(page);
    filterBox = new FilterBox(page);
    filterBox->setFixedWidth(220);

    sortCutLine = new QWidget(page);
    sortCutLine->setObjectName(QStringLiteral("cutLine"));
    sortCutLine->setFixedSize(1, 12);

    fileListWidget = new FileListWidget(page);
    fileListWidget->setFixedWidth(844);

    templateList = new TemplateListWidget(page);
    templateList->setObjectName(QStringLiteral("TemplateListWidget"));
    templateList->setFixedSize(860, 100);
    templateList->addTemplateItem(1);
    templateList->addTemplateItem(2);
    templateList->addTemplateItem(3);

    sortComboBox = new vexa::widgets::ComboBox(page);
    sortComboBox->setFixedWidth(120);
    sortComboBox->setProperty("style", QStringLiteral("transparent"));
    sortComboBox->addItem(QStringLiteral("lastOpenTime"), 0);
    sortComboBox->addItem(QStringLiteral("name"), 1);
    sortComboBox->addItem(QStringLiteral("size"), 2);

    changeSortButton = new vexa::widgets::PushButton(page);
    changeSortButton->setObjectName(QStringLiteral("changeSort"));
    changeSortButton->setFixedSize(20, 20);
    changeSortButton->setProperty("changeSortSelect", false);

    lastProjectLabel = captionLabel("lastProject", "Last Project", page);
    sceneTemplateLabel = captionLabel("sceneTemplate", "Scene Template", page);
}

void StartPageView::createButtons(QWidget* page)
{
    newButton = pageButton("new", "general", page);
    openButton = pageButton("open", "assist", page);
    quitButton = pageButton("quit", "assist", page);
}

void StartPageView::createLegalLabels(QWidget* page)
{
    copyrightLabel = new QLabel(QCoreApplication::organizationName(), page);
    copyrightLabel->setProperty("fontSize", QStringLiteral("L"));
    copyrightLabel->setAlignment(Qt::AlignHCenter);

    viewLabel = legalLabel(nullptr, false, page);
    licenseLabel = legalLabel("license", true, page);
    commaLabel = legalLabel(nullptr, false, page);
    privacyLabel = legalLabel("privacy", true, page);
    andLabel = legalLabel(nullptr, false, page);
    thirdPartyLicenseLabel = legalLabel("thirdPartyLicense", true, page);
}

// Icon, name column, stretch, language column.
QWidget* StartPageView::headerRow(QWidget* page) const
{
    auto* header = new QWidget(page);
    header->setFixedHeight(80);
    auto* headerLayout = tight(new QHBoxLayout(header), 12);
    auto* nameColumn = new QVBoxLayout;
    nameColumn->setContentsMargins(0, 4, 0, 12);
    nameColumn->setSpacing(0);
    nameColumn->addWidget(appNameLabel);
    nameColumn->addStretch(0);
    nameColumn->addWidget(versionLabel);
    auto* languageColumn = new QVBoxLayout;
    languageColumn->setContentsMargins(0, 4, 0, 4);
    languageColumn->setSpacing(0);
    auto* languageRow = tight(new QHBoxLayout, 4);
    languageRow->addWidget(languageLabel);
    languageRow->addWidget(languageComboBox);
    languageColumn->addLayout(languageRow);
    languageColumn->addStretch(0);
    headerLayout->addWidget(iconLabel);
    headerLayout->addLayout(nameColumn);
    headerLayout->addStretch(0);
    headerLayout->addLayout(languageColumn);
    return header;
}

// Sort row, templates, recent list.
QLayout* StartPageView::leftColumn() const
{
    auto* sortRow = tight(new QHBoxLayout, 4);
    sortRow->addWidget(recentlyUsedLabel);
    sortRow->addSpacing(12);
    sortRow->addWidget(filterBox);
    sortRow->addStretch(0);
    sortRow->addWidget(projectSortingLabel);
    sortRow->addWidget(sortCutLine);
    sortRow->addWidget(sortComboBox);
    sortRow->addWidget(changeSortButton);

    auto* templateRow = new QHBoxLayout;
    templateRow->setContentsMargins(0, 0, 0, 0);
    templateRow->addSpacing(-18);
    templateRow->addWidget(templateList);

    auto* listRow = new QHBoxLayout;
    listRow->setContentsMargins(0, 0, 0, 0);
    listRow->addSpacing(-18);
    listRow->addWidget(fileListWidget);

    auto* column = tight(new QVBoxLayout, 12);
    column->addLayout(sortRow);
    column->addWidget(sceneTemplateLabel);
    column->addSpacing(-15);
    column->addLayout(templateRow);
    column->addSpacing(-5);
    column->addWidget(lastProjectLabel);
    column->addSpacing(10);
    column->addLayout(listRow);
    return column;
}

QLayout* StartPageView::buttonColumn() const
{
    auto* column = new QVBoxLayout;
    column->setContentsMargins(40, 40, 40, 40);
    column->setSpacing(40);
    column->addStretch(0);
    column->addWidget(newButton, 0, Qt::AlignHCenter);
    column->addWidget(openButton, 0, Qt::AlignHCenter);
    column->addWidget(quitButton, 0, Qt::AlignHCenter);
    column->addStretch(0);
    return column;
}

QLayout* StartPageView::legalRow() const
{
    auto* row = tight(new QHBoxLayout, 0);
    row->addStretch(0);
    for (QLabel* label : {viewLabel, licenseLabel, commaLabel, privacyLabel, andLabel, thirdPartyLicenseLabel})
        row->addWidget(label);
    row->addStretch(0);
    return row;
}

// A line that divides the page: a plain widget the style sheet draws.
QLayout* StartPageView::createCutLine(bool horizontal) const
{
    auto* line = new QWidget;
    line->setObjectName(QStringLiteral("cutLine"));
    QBoxLayout* layout = nullptr;
    if (horizontal) {
        line->setFixedHeight(1);
        layout = new QHBoxLayout;
    } else {
        line->setFixedWidth(1);
        layout = new QVBoxLayout;
    }
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(line);
    return layout;
}

void StartPageView::translateLanguage(const QString& language)
{
    languageLabel->setText(trText(QStringLiteral("Language")));
    languageComboBox->setItemText(0, trText(QStringLiteral("SimplifiedChinese")));
    languageComboBox->setItemText(1, trText(QStringLiteral("English")));
    recentlyUsedLabel->setText(trText(QStringLiteral("RecentlyUsedItem")));
    projectSortingLabel->setText(trText(QStringLiteral("ProjectSorting")));
    sortComboBox->setItemText(0, trText(QStringLiteral("OpenTimeInput")));
    sortComboBox->setItemText(1, trText(QStringLiteral("NameInput")));
    sortComboBox->setItemText(2, trText(QStringLiteral("SizeInput")));
    newButton->setText(trText(QStringLiteral("NewBulid")));
    openButton->setText(trText(QStringLiteral("OpenProject")));
    quitButton->setText(trText(QStringLiteral("ExitProject")));
    sceneTemplateLabel->setText(trText(QStringLiteral("SceneTemplate")));
    lastProjectLabel->setText(trText(QStringLiteral("LastProject")));
    templateList->translateLanguage();
    templateList->setAccessibleName(sceneTemplateLabel->text());
    fileListWidget->setAccessibleName(lastProjectLabel->text());
    filterBox->translateLanguage();

    const QString code = language.toLower();
    if (code == QLatin1String("zh_cn"))
        companyName = vexa::qtcompat::fromGbk(kCompanyNameChinese);
    if (code == QLatin1String("en"))
        companyName = vexa::qtcompat::fromGbk(kCompanyNameEnglish);
    copyrightLabel->setText(companyName + trText(QStringLiteral("CopyrightStatement")));

    viewLabel->setText(trText(QStringLiteral("View")));
    licenseLabel->setText(trText(QStringLiteral("LicenseAgreement")));
    commaLabel->setText(trText(QStringLiteral("CommaSymbol")));
    privacyLabel->setText(trText(QStringLiteral("PrivacyPolicy")));
    andLabel->setText(trText(QStringLiteral("AndSymbol")));
    thirdPartyLicenseLabel->setText(trText(QStringLiteral("ThirdPartyLicense")));
}

void StartPageView::nameSortDirection(bool ascending)
{
    changeSortButton->setAccessibleName(
        trText(ascending ? QStringLiteral("SortAscending") : QStringLiteral("SortDescending")));
}

} // namespace projectfilemgr
} // namespace vexa
