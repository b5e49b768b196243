#include "core/push_button.h"

#include <QPushButton>

namespace quorvella {

QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    return button;
}

} // namespace quorvella
