#pragma once

#include "render/gl/GlRenderer.h"

// Renders a draw list through OpenGL 2.1's fixed-function pipeline, one
// OpenGL draw (and its state changes) for every draw of the game, in order:
// the picture every other renderer is measured against, and the way to draw
// where OpenGL 3.3 is missing. Needs a compatibility context.
class GlClassicRenderer : public GlRenderer {
public:
    GlClassicRenderer();

    void Render(const DrawList& list, int width, int height, DrawStats& stats) override;
    void Forget(const ListMesh& mesh) override;

private:
    void ApplyStates(const RenderStateSet& states, DrawStats& stats);
    void ApplyCamera(const DrawCamera& camera, DrawStats& stats);
    void ApplyMaterial(const Material& material, DrawStats& stats);
    void ApplyTexture(const ListTexture* texture, DrawStats& stats);
    void DrawSubset(const ListMesh& mesh, uint32_t subset);
    void DrawPrimitive(const DrawList& list, const DrawRecord& record, int width, int height);
    void BeginSprites(int width, int height, int scale);
    void DrawSprite(const SpriteDraw& sprite, const ListTexture& texture);
    void EndSprites();

    // What was last applied, as indices into the list being rendered
    // (UINT32_MAX: nothing yet, or disturbed since).
    uint32_t states = UINT32_MAX, camera = UINT32_MAX, world = UINT32_MAX, material = UINT32_MAX;
    const ListTexture* texture = nullptr;
    bool textureKnown = false;
    RenderStateSet applied{};
    bool statesKnown = false;
    Matrix view = MatrixIdentity();
};
