#pragma once
// The hourglass: while a guard lives, the application-wide cursor is the busy
// cursor. The previous cursor comes back when the guard ends, on success and
// on failure alike.
namespace uriage::chart {

class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool pushed_ = false;
};

} // namespace uriage::chart
