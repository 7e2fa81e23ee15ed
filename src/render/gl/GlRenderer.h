#pragma once

#include "render/DrawList.h"

// Turns draw lists into OpenGL calls on the framebuffer bound when Render is
// called. Knows nothing of windows or presenting.
class GlRenderer {
public:
    virtual ~GlRenderer() = default;
    // Draws the list onto a width x height back buffer, counting what it
    // issued. Makes no assumption about the OpenGL state it finds.
    virtual void Render(const DrawList& list, int width, int height, DrawStats& stats) = 0;
    // What the renderer made for a mesh goes with the mesh.
    virtual void Forget(const ListMesh&) {}
};

// The OpenGL texture of a list texture, uploaded on first use (point
// sampling, repeating, as the game's pixel art wants); 0 for null.
unsigned GlTextureName(const ListTexture* texture);
void GlDeleteTexture(ListTexture& texture);
