#pragma once

#include <QObject>

class QComboBox;

namespace vexa {
namespace projectfilemgr {

// The language box switches the language on a committed choice only: Enter,
// or an item picked from its list. The keys that step through the closed box
// (arrows, Home, End, Page Up and Down, a letter) only show another item, as
// a screen reader user reads them out; Escape or leaving the box without
// Enter shows the language in use again. Mouse use is Qt's own.
class LanguageChoice : public QObject
{
    Q_OBJECT
public:
    explicit LanguageChoice(QComboBox* box);

    // True while the box shows an item stepped to and not committed: a
    // change of its current item is then no choice.
    bool browsing() const { return stepping || pending; }

Q_SIGNALS:
    // The item shown was committed (Enter, or picked from the list unchanged).
    void committed(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void commit();
    void revert();

    QComboBox* box;
    bool stepping = false; // a key is changing the item now
    bool pending = false;  // the item shown was stepped to
    int committedIndex = -1;
};

} // namespace projectfilemgr
} // namespace vexa
