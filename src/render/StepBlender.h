#pragma once

#include "render/DrawList.h"

#include <cstdint>
#include <vector>

// Pictures between the game's steps. It keeps the draw lists of the last two
// steps and makes the list of the picture at any fraction of the way from the
// older to the newer: every draw the two steps share (the same tag, the same
// place among that tag's draws) moves, turns and scales between its two
// placements and fades between its two materials; the cameras move between
// their two views; screen-space draws placed by a point of the world (a
// unit's meter) follow that point's place on the screen; the game's pointer
// follows the newest pointer. Draws only the newer step has show as they are
// there; draws only the older one had are gone. Text and overlays come from
// the newer step.
class StepBlender {
public:
    // Takes the newest step's list (the newer one becomes the older); newest
    // is left empty, with the memory of the list that was dropped.
    void Push(DrawList& newest);
    // Forgets both (a new scene starts from nothing).
    void Reset();
    bool Empty() const { return newer.Empty(); }

    // The picture at fraction t (0: the older step, 1: the newer) on a width
    // x height back buffer, with the pointer moved by (pointerDx, pointerDy)
    // pixels from where the newer step drew it (kept on the screen).
    void Blend(float t, int width, int height, float pointerDx, float pointerDy, DrawList& out) const;

    const DrawList& Newer() const { return newer; }
    const DrawList& Older() const { return older; }

private:
    DrawList older, newer;
    // For each record of the newer list, the record of the older list it
    // continues, or NoMatch.
    static constexpr uint32_t NoMatch = UINT32_MAX;
    std::vector<uint32_t> match;
};

// A placement between two: positions along the line, axes turned along the
// shorter arc, axis lengths in between. Two placements that cannot be blended
// (one mirrored, one axis of no length) give the second.
Matrix BlendPlacement(const Matrix& a, const Matrix& b, float t);
// A view between two: the camera's eye along the line, its axes turned.
Matrix BlendView(const Matrix& a, const Matrix& b, float t);
