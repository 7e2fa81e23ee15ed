#pragma once

#include "render/RecordingDevice.h"

#include <algorithm>
#include <optional>
#include <vector>

// The screen rectangle a recorded 2D draw covers, with its first colour.
struct DrawBox {
    float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
    uint32_t color = 0;
    bool operator==(const DrawBox&) const = default;
};

inline DrawBox BoxOf(const RecordingDevice::Draw& draw) {
    DrawBox box;
    box.color = draw.Color(0);
    for (size_t i = 0; i < draw.VertexCount(); ++i) {
        Vector3 p = draw.Position(i);
        box.left = std::min(box.left, p.x);
        box.right = std::max(box.right, p.x);
        box.top = std::min(box.top, p.y);
        box.bottom = std::max(box.bottom, p.y);
    }
    return box;
}

// The boxes of the 2D draws among those recorded, in order; with a primitive
// type, of those draws only.
inline std::vector<DrawBox> Boxes(const std::vector<RecordingDevice::Draw>& draws,
                                  std::optional<PrimitiveType> only = {}) {
    std::vector<DrawBox> boxes;
    for (const auto& draw : draws)
        if (draw.kind == RecordingDevice::Draw::Kind::Primitive && (!only || draw.primitive == *only))
            boxes.push_back(BoxOf(draw));
    return boxes;
}
