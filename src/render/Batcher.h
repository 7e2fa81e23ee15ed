#pragma once

#include "render/DrawList.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
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
    const ListTexture* texture = nullptr;
    // The range of BatchedFrame::indices it draws.
    uint32_t firstIndex = 0, indexCount = 0;
    // Clear batches: what and with which colour and depth.
    uint32_t clearFlags = 0, clearColor = 0;
    float clearZ = 1.0f;
};

// A growing array of plain values that keeps its memory from frame to frame
// and leaves new elements unwritten (the batcher writes every one).
template <class T> class FrameArray {
public:
    T* data() { return items.get(); }
    const T* data() const { return items.get(); }
    size_t size() const { return count; }
    bool empty() const { return count == 0; }
    T& operator[](size_t i) { return items[i]; }
    const T& operator[](size_t i) const { return items[i]; }
    void clear() { count = 0; }
    // Appends n elements and returns the first of them.
    T* Grow(size_t n) {
        if (count + n > capacity) {
            size_t wanted = std::max(count + n, capacity * 2 + 1024);
            std::unique_ptr<T[]> larger(new T[wanted]);
            if (count) std::memcpy(larger.get(), items.get(), count * sizeof(T));
            items = std::move(larger);
            capacity = wanted;
        }
        T* first = items.get() + count;
        count += n;
        return first;
    }
    void push_back(const T& value) { *Grow(1) = value; }
    // Drops elements from the end.
    void Shrink(size_t newCount) { count = std::min(count, newCount); }

private:
    std::unique_ptr<T[]> items;
    size_t count = 0, capacity = 0;
};

// A draw list as batches: one vertex and one index array for the whole frame.
struct BatchedFrame {
    FrameArray<BatchVertex> vertices;
    FrameArray<uint32_t> indices;
    std::vector<Batch> batches;
    // Draws left out because they lay wholly outside the view.
    uint32_t culled = 0;
    uint32_t triangles = 0;

    // Empties the frame; the memory stays for the next one.
    void Clear();

    // Working memory of one mesh part: its vertices in clip space and where
    // each went in the frame's vertices (kept between frames).
    struct ClipVertex {
        float x, y, z, w;
        // Which clip planes it lies outside (bits 0..5), and bit 6 when it is
        // at or behind the eye.
        uint32_t outside;
        // Where it lands in window pixels (y up), when in front of the eye.
        float windowX, windowY;
    };
    std::vector<ClipVertex> clip;
    std::vector<uint32_t> remap;
};

// Turns a list into as few batches as keep its picture: consecutive draws
// under the same states and texture share one batch, whatever their meshes,
// materials and world matrices, so the order of everything drawn (and of
// everything blended) stays exactly as the game issued it. Vertices are
// transformed and lit on the CPU as the fixed-function pipeline would. What
// the pipeline would throw away unseen is left out before it costs anything:
// meshes wholly outside the view, and of the others the triangles wholly
// outside it, facing away under the cull mode, or too small to hold a pixel's
// centre (with the vertices only they used). Width and height are the back buffer's, for the screen-space draws.
void BuildBatches(const DrawList& list, int width, int height, BatchedFrame& frame);
// The same for the records first .. first + count - 1 only.
void BuildBatches(const DrawList& list, size_t first, size_t count, int width, int height, BatchedFrame& frame);

// The matrix that takes the game's depth range (0..1) to the one OpenGL
// clips against (-1..1), applied after the projection.
Matrix DepthRangeFix();
