// Qt's own texts (the edit boxes' context menu, standard buttons) in Japanese.
#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>

namespace uriage {

// Where Qt's Japanese translation of its base module is looked for, in order:
// the "translations" folder beside the program (the Windows program folder),
// then Qt's own translations folder (Debian: /usr/share/qt6/translations).
QStringList toolkitTranslationFolders(const QString& programFolder);

// Loads qtbase_ja.qm from the first of those folders that has it and installs
// it into the running application. Returns the translator (owned by the
// application), or nullptr when no folder has the file (the texts then stay
// in English).
QTranslator* installToolkitTranslation();

} // namespace uriage
