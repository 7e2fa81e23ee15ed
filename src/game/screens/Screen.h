#pragma once

// One screen of the game: the scene machine runs the current screen's frame
// once per frame. A screen hands over with GameContext::SwitchTo, which takes
// effect from the next frame on.
class Screen {
public:
    virtual ~Screen() = default;
    virtual void Frame() = 0;
};
