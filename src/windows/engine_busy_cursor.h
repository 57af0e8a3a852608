#pragma once
// The hourglass while the database engine starts.
namespace uriage {

// Has the database engine show the busy cursor while it starts. Called once
// at program start; installing it again replaces the earlier hook.
void installEngineBusyCursor();

} // namespace uriage
