#pragma once

#include <QList>
#include <QString>

class QLabel;
class QLayout;
class QWidget;

namespace vexa {
namespace widgets {
class ComboBox;
class PushButton;
} // namespace widgets
namespace projectfilemgr {

class FileListWidget;
class FilterBox;
class TemplateListWidget;

// The start page's widgets and their layout: header with the language
// choice, sort row, template tiles, recent list, the buttons and the legal
// line. It builds them onto the page and sets their texts; what they do is
// wired by the page.
struct StartPageView {
    QLabel* iconLabel = nullptr;
    QLabel* appNameLabel = nullptr;
    QLabel* versionLabel = nullptr;
    QLabel* languageLabel = nullptr;
    vexa::widgets::ComboBox* languageComboBox = nullptr;
    QLabel* recentlyUsedLabel = nullptr;
    QLabel* projectSortingLabel = nullptr;
    FilterBox* filterBox = nullptr;
    QWidget* sortCutLine = nullptr;
    TemplateListWidget* templateList = nullptr;
    vexa::widgets::ComboBox* sortComboBox = nullptr;
    vexa::widgets::PushButton* changeSortButton = nullptr;
    QLabel* lastProjectLabel = nullptr;
    QLabel* sceneTemplateLabel = nullptr;
    FileListWidget* fileListWidget = nullptr;
    vexa::widgets::PushButton* newButton = nullptr;
    vexa::widgets::PushButton* openButton = nullptr;
    vexa::widgets::PushButton* quitButton = nullptr;
    QLabel* copyrightLabel = nullptr;
    QLabel* viewLabel = nullptr;
    QLabel* licenseLabel = nullptr;
    QLabel* commaLabel = nullptr;
    QLabel* privacyLabel = nullptr;
    QLabel* andLabel = nullptr;
    QLabel* thirdPartyLicenseLabel = nullptr;
    QString companyName;

    // Makes every widget as a child of `page` and lays them out on it.
    void build(QWidget* page);
    // The texts of the language now switched to (`language` picks the
    // organisation's name on the copyright line).
    void translateLanguage(const QString& language);
    // What the sort-direction button says to a screen reader: the order now.
    void nameSortDirection(bool ascending);
    // The widgets Tab stops at, in reading order.
    QList<QWidget*> tabStops() const;

private:
    void createHeaderWidgets(QWidget* page);
    void createListWidgets(QWidget* page);
    void createButtons(QWidget* page);
    void createLegalLabels(QWidget* page);
    QWidget* headerRow(QWidget* page) const;
    QLayout* leftColumn() const;
    QLayout* buttonColumn() const;
    QLayout* legalRow() const;
    QLayout* createCutLine(bool horizontal) const;
};

} // namespace projectfilemgr
} // namespace vexa
