#pragma once
// The push buttons of every window: named for the tests and accessibility tools that find them,
// with their caption as their accessible name.

class QPushButton;
class QString;
class QWidget;

namespace quorvella {

// A push button with the object name name, showing caption, which is also its accessible name.
QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent);

} // namespace quorvella
