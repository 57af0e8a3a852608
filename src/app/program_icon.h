#pragma once
// The program icon "MAINICON", shown by every window and the task-bar entry.
#include <QIcon>

namespace uriage {

QIcon programIcon();

} // namespace uriage
