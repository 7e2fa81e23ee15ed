#pragma once

// A device the application starts in its fixed order and frees in reverse:
// graphics, sound, music. Init logs its own lines and shows its own error box;
// Free tolerates a subsystem that never started and may be called twice.
class Subsystem {
public:
    virtual ~Subsystem() = default;
    virtual bool Init() = 0;
    virtual void Free() = 0;
};
