#pragma once
// The hourglass: the application-wide busy cursor while a chart reads its
// rows or the database engine starts. Every show is paired with a take-back,
// on success and on failure alike; without a GUI application (command-line
// checks) there is no cursor and nothing happens.
namespace uriage::chart {

// While a guard lives, the busy cursor shows; the previous cursor comes back
// when it ends.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();

    // For a caller that pairs them itself (the engine's start hook): each show
    // is taken back by exactly one takeBack.
    static bool show();
    static void takeBack();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool pushed_ = false;
};

} // namespace uriage::chart
