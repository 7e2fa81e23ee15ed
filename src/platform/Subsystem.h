#pragma once

// A device the application starts in its fixed order and frees in reverse:
// graphics, sound, music. Init logs its own lines and shows its own error box.
// Free writes the stop lines and releases whatever Init made; the teardown
// calls it whether or not Init ran or succeeded, so it tolerates a subsystem
// that never started. A second Free does nothing until the next Init. The
// destructor releases what is left without a word.
class Subsystem {
public:
    virtual ~Subsystem() = default;
    virtual bool Init() = 0;
    virtual void Free() = 0;
};
