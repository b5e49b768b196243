#pragma once
// Qt's own texts in Chinese: the buttons of message boxes, the standard dialogs and context menus
// follow Qt's Simplified Chinese catalogues whatever the system locale. Finding the catalogues is
// left to Qt's installation (Debian's qt6-translations-l10n).

#include <QStringList>

namespace quorvella {

// Installs Qt's Simplified Chinese catalogues found in Qt's translations folder (qtbase_zh_CN.qm,
// then qtmultimedia_zh_CN.qm) in the running application and makes Chinese (China) the default
// locale. Returns the file names of the catalogues installed; none when Qt's translations are
// not installed, and Qt's texts then stay English. Calling it again installs nothing twice.
// Needs the application object; call it before the windows are built.
QStringList installChineseQtTexts();

} // namespace quorvella
