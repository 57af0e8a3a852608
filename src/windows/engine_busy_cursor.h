#pragma once
// The hourglass while the database engine starts.
#include <functional>

namespace uriage {

// What the engine calls with true before it starts and with false afterwards:
// shows the busy cursor and takes it back. Given to the engine's options at
// program start.
std::function<void(bool)> engineBusyCursor();

} // namespace uriage
