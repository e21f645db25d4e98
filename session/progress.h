#pragma once

// Where the device transactions report how far they have come: discovery
// shows the address it is polling. The panel's progress bar is one such
// place, the command line's progress line another.
class Progress {
public:
    virtual void setRange(int lowest, int highest) = 0;
    virtual void setPosition(int position) = 0;

protected:
    ~Progress() = default;
};

// For work that shows no progress.
class NoProgress : public Progress {
public:
    void setRange(int, int) override {}
    void setPosition(int) override {}
};
