#include "controls.h"

namespace vexa {
namespace widgets {

EditBox::EditBox(QWidget* parent) : QLineEdit(parent) {}
EditBox::~EditBox() = default;

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent) {}
ComboBox::~ComboBox() = default;

PushButton::PushButton(QWidget* parent) : QPushButton(parent) {}
PushButton::~PushButton() = default;

} // namespace widgets
} // namespace vexa
