#pragma once

// The screen-wide hourglass while work that opens windows or databases runs. The default
// pointer comes back when the scope ends, also when the work fails, so the pointer is normal
// again before the failure is shown.
class BusyPointer {
public:
    BusyPointer();
    ~BusyPointer();

    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};
