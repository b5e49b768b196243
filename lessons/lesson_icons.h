#pragma once
// The icons of the lesson window's reading buttons, drawn here rather than loaded from files: a
// speaker with waves for reading, the usual marks for pause, continue and stop.

#include <QIcon>

namespace quorvella {

enum class ReadingIcon { ReadAll, ReadSelection, Pause, Resume, Stop };

// The 16 by 16 icon of kind.
QIcon readingIcon(ReadingIcon kind);

} // namespace quorvella
