#pragma once

#include "render/DrawList.h"

#include <cstdint>
#include <vector>

// A vertex as the batched renderer hands it to the GPU: already in clip space,
// already lit (colour bytes in R, G, B, A order), with its texture coordinates.
struct BatchVertex {
    float x, y, z, w;
    uint8_t r, g, b, a;
    float u, v;
};
static_assert(sizeof(BatchVertex) == 28, "BatchVertex is seven packed words");

// The fixed-function states a batch is drawn under, with the values that
// don't matter (blend factors while blending is off, the depth function
// while the depth test is off) at fixed values so they never split batches.
struct BatchState {
    uint8_t depthTest = 1, depthWrite = 1, depthFunc = CmpLessEqual;
    uint8_t blend = 1, srcBlend = BlendSrcAlpha, destBlend = BlendInvSrcAlpha;
    uint8_t cull = CullCCW;
    bool operator==(const BatchState&) const = default;
};

struct Batch {
    enum class Mode : uint8_t { Triangles, Lines, Clear };
    Mode mode = Mode::Triangles;
    BatchState state;
    // Modulates the colour; null for none.
    const DeviceTexture* texture = nullptr;
    // The range of BatchedFrame::indices it draws.
    uint32_t firstIndex = 0, indexCount = 0;
    // Clear batches: what and with which colour and depth.
    uint32_t clearFlags = 0, clearColor = 0;
    float clearZ = 1.0f;
};

// A draw list as batches: one vertex and one index array for the whole frame.
struct BatchedFrame {
    std::vector<BatchVertex> vertices;
    std::vector<uint32_t> indices;
    std::vector<Batch> batches;
    // Draws left out because they lay wholly outside the view.
    uint32_t culled = 0;
    uint32_t triangles = 0;

    // Empties the frame; the memory stays for the next one.
    void Clear();
};

// Turns a list into as few batches as keep its picture: consecutive draws
// under the same states and texture share one batch, whatever their meshes,
// materials and world matrices, so the order of everything drawn (and of
// everything blended) stays exactly as the game issued it. Vertices are
// transformed and lit on the CPU as the fixed-function pipeline would; meshes
// wholly outside the view are left out. Width and height are the back
// buffer's, for the screen-space draws.
void BuildBatches(const DrawList& list, int width, int height, BatchedFrame& frame);

// The matrix that takes the game's depth range (0..1) to the one OpenGL
// clips against (-1..1), applied after the projection.
Matrix DepthRangeFix();
