#include "app/program_icon.h"

#include <QPixmap>

#include "app/mainicon.xpm"

namespace uriage {

QIcon programIcon() { return QIcon(QPixmap(MAINICON)); }

} // namespace uriage
