#include "game/screens/LoadingScreen.h"

#include "game/flow/GameContext.h"
#include "platform/App.h"
#include "render/Graphics.h"

#include <cmath>
#include <cstdio>
#include <ctime>

bool PlaceLoadingPiece(SceneNode& node, int index, int frame) {
    int t = frame - 3 * index;
    if (t < 0) return false;
    float f = std::exp(-0.005f * float(t * t));
    node.SetPosition(
        {index <= 6 ? float(index - 3) * 4.5f : float(index - 8) * 6.5f, index <= 6 ? 3.0f : -3.0f, 0});
    node.SetOrientation({0, 0, -1}, {0, 1, 0});
    node.RotateZ(15 * f);
    node.intensity = 1 - f;
    return true;
}

void LoadingScreen::LoadPieces() {
    for (size_t i = 0; i < pieces.size(); ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "OP_%02d", int(i));
        pieces[i].Load(game.graphics, name, 0, 1);
        pieceNodes[i].Init(&pieces[i], 0, 0, 0, 0.1f);
        pieceNodes[i].tag = LoadingPieceTag + i;
    }
}

void LoadingScreen::Frame() {
    GameContext& g = game;
    SetCamera(g.graphics, {0, -10, -30}, {0, -2, 0}, {0, 1, 0});
    if (!g.graphics.BeginFrame(0xFF000000)) return;
    Device& device = *g.graphics.device();
    g.graphics.SetDirectionalLight(g.lightDirection.x, g.lightDirection.y, g.lightDirection.z, 1, 1, 1, 1);
    device.SetRenderState(RenderState::ZFunc, CmpLessEqual);
    device.SetRenderState(RenderState::Lighting, 1);
    // Each piece starts three frames after the one before, rolling and fading in.
    for (int i = 0; i < int(pieces.size()); ++i)
        if (PlaceLoadingPiece(pieceNodes[size_t(i)], i, loadFrames)) pieceNodes[size_t(i)].DrawFaded();
    device.SetRenderState(RenderState::Lighting, 0);
    if (++loadFrames < 90) {
        g.EndFrame();
        return;
    }
    g.DrawText(int(float(g.width) * 0.5f - 35), g.height - 30, "Now Loading...");
    g.EndFrame();
    for (MeshResource& piece : pieces) piece.Release();
    BuildKeyNames(g.names);
    LoadResources();
    g.app.random.Seed(uint32_t(std::time(nullptr)));
    g.ResetWorld();
    g.SwitchTo(SceneId::Title);
}

void LoadingScreen::LoadResources() {
    GameContext& g = game;
    g.title.Load(g.graphics, "TITLE", 0, 1);
    if (g.planet.Load(g.graphics, "PLANET", 0, 1)) {
        g.planetSprite.SetTexture(&g.planet);
        g.planetSprite.sourceRect = {0, 0, 512, 256};
        g.planetSprite.scalingX = g.planetSprite.scalingY = 1.25f;
        g.planetSprite.positionX = float(g.x0);
        g.planetSprite.positionY = float(g.y0 + 160);
    }
    if (g.flags.Load(g.graphics, "FLAG", 0, 1)) g.flagSprite.SetTexture(&g.flags);
    if (g.light.Load(g.graphics, "LIGHT", 0, 1)) g.lightSprite.SetTexture(&g.light);
    g.battleAssets.LoadViewMeshes(g.graphics);
    g.hoverSound.Load("Data\\MouseOver.wav");
    g.clickSound.Load("Data\\MouseClick.wav");
    g.optionHoverSound.Load("Data\\MouseOver.wav");
    g.optionClickSound.Load("Data\\MouseClick.wav");
    g.battleAssets.LoadEffects(g.graphics, true);
    // Each type's own models and sounds: weapons, then panels, turrets and
    // stations, then fighters.
    g.battleAssets.LoadWeapons(g.graphics, true);
    g.families.Load(g.graphics);
    g.battleAssets.LoadFighterMeshes(g.graphics);
    if (g.title.texture()) g.titleSprite.SetTexture(&g.title);
}
