#pragma once

#include "vexawidgets_global.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace vexa {
namespace widgets {

// Single-line text field; a validator rejects input that does not match.
class VEXAWIDGETS_EXPORT EditBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit EditBox(QWidget* parent = nullptr);
    ~EditBox() override;
};

// Drop-down whose item data is read back with QComboBox::itemData.
class VEXAWIDGETS_EXPORT ComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ComboBox(QWidget* parent = nullptr);
    ~ComboBox() override;
};

class VEXAWIDGETS_EXPORT PushButton : public QPushButton
{
    Q_OBJECT
public:
    explicit PushButton(QWidget* parent = nullptr);
    ~PushButton() override;
};

} // namespace widgets
} // namespace vexa
