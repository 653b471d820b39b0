#pragma once

// The package dialog's widgets: built once into the dialog's content area,
// named for the hosts' style sheets, and given their texts in the current
// language. What they show and when is up to PackagePage.

class QLabel;
class QProgressBar;
class QRadioButton;
class QString;
class QWidget;

namespace vexa {
namespace widgets {
class Dialog;
class EditBox;
class PushButton;
} // namespace widgets

namespace projectfilemgr {

struct PackageDialogView {
    vexa::widgets::Dialog* dialog = nullptr;
    QLabel* selectFilesLabel = nullptr;
    QRadioButton* usedMediasRadio = nullptr;
    QRadioButton* allMediasRadio = nullptr;
    QLabel* nameLabel = nullptr;
    vexa::widgets::EditBox* nameEdit = nullptr;
    QLabel* locationLabel = nullptr;
    vexa::widgets::EditBox* locationEdit = nullptr;
    vexa::widgets::PushButton* selectButton = nullptr;
    QLabel* fileSizeLabel = nullptr;
    QLabel* fileSizeValue = nullptr;
    QLabel* remainSpaceLabel = nullptr;
    QLabel* remainSpaceValue = nullptr;
    vexa::widgets::PushButton* noSpaceButton = nullptr;
    QWidget* progressWidget = nullptr;
    QProgressBar* progressBar = nullptr;
    QLabel* finishedSizeLabel = nullptr;
    QLabel* totalSizeLabel = nullptr;
    QLabel* speedLabel = nullptr;
    QLabel* speedValue = nullptr;
    QLabel* remainTimeLabel = nullptr;
    QLabel* remainTimeValue = nullptr;
    vexa::widgets::PushButton* packageButton = nullptr;

    // Fills the content area of `owner`, which also watches the name box
    // (its focus-out reaches the owner's eventFilter). The progress starts hidden.
    void build(vexa::widgets::Dialog* owner);
    // The title and every caption; the package button says `buttonText`.
    void translate(const QString& buttonText);
    // The progress bar's description for a screen reader: speed and time left as shown.
    void describeProgress();
    // Red sizes and the no-space note when the drive is short of room.
    void markSpaceShort(bool isShort);
    // Fits the dialog to its contents once the layouts have taken a change in.
    void relayoutLater() const;

private:
    void createInputs(QWidget* content);
    void createProgress(QWidget* content);
    void layOut(QWidget* content);
};

} // namespace projectfilemgr
} // namespace vexa
