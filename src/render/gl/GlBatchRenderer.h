#pragma once

#include "render/Batcher.h"
#include "render/gl/GlRenderer.h"

// Renders a draw list in a handful of draws: the batcher turns it into one
// vertex and one index array (transformed and lit on the CPU), streamed to
// the GPU once a frame; each batch is one indexed draw through one small
// shader program. Uses only what OpenGL 3.3 core and OpenGL ES 3.0 share.
class GlBatchRenderer : public GlRenderer {
public:
    // sliceRecords: how many records go to OpenGL at a time. A software
    // rasteriser draws one slice on its own threads while the next is built;
    // a GPU gets the whole list at once (SIZE_MAX).
    explicit GlBatchRenderer(size_t sliceRecords);
    ~GlBatchRenderer() override;

    // False when the shader program could not be built (the reason is logged).
    bool Ready() const { return program != 0; }

    void Render(const DrawList& list, int width, int height, DrawStats& stats) override;

private:
    // The OpenGL state as last set; Render starts from "unknown".
    struct Current {
        bool known = false;
        BatchState state;
        unsigned texture = 0;
        bool textured = false;
    };
    // The vertex and index buffers of one slice, kept from frame to frame:
    // each slice of a frame has its own, so none waits for the one before.
    struct Stream {
        unsigned vertexArray = 0, vertexBuffer = 0, indexBuffer = 0;
        size_t vertexCapacity = 0, indexCapacity = 0;
    };
    Stream& StreamFor(size_t slice);
    void Apply(const Batch& batch, DrawStats& stats);
    // Copies the bytes to the start of the buffer, growing it when they don't fit.
    static void Upload(unsigned target, unsigned buffer, size_t& capacity, const void* data, size_t bytes);

    const size_t sliceRecords;
    unsigned program = 0;
    std::vector<Stream> streams;
    int texturedLocation = -1;
    BatchedFrame frame;
    Current current;
};
