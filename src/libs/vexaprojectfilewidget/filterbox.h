#pragma once

#include "controls.h"

namespace vexa {
namespace projectfilemgr {

// The recent list's filter field. Escape clears the text; on an empty field
// it goes on to the page, which does what it always did with it. The number
// of matches is told to screen readers as the field's description.
class FilterBox : public vexa::widgets::EditBox
{
    Q_OBJECT
public:
    explicit FilterBox(QWidget* parent = nullptr);
    ~FilterBox() override;

    // Puts the cursor in the field with its text selected (Ctrl+F).
    void takeFocus();
    // Tells how many of `listed` projects `shown` are; nothing while the field is empty.
    void tellMatches(int shown, int listed);
    void translateLanguage();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Whether Escape is the field's to take: a plain press with text to clear.
    bool takesEscape(const QKeyEvent* event) const;

    int shownCount = -1;
    int listedCount = -1;
};

} // namespace projectfilemgr
} // namespace vexa
