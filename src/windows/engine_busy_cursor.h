#pragma once
// The hourglass while the database engine starts at the first query open.
namespace uriage {

// Tells the engine to show the busy cursor while it starts; installing it
// again replaces the earlier hook.
void installEngineBusyCursor();

} // namespace uriage
