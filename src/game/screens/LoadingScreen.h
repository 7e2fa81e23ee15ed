#pragma once

#include "game/screens/Screen.h"
#include "render/MeshResource.h"
#include "render/SceneNode.h"

#include <array>

class GameContext;

// Places loading piece i (0..9) as the loading screen shows it on the given
// frame and sets its fade; false while the piece has not started yet.
bool PlaceLoadingPiece(SceneNode& node, int index, int frame);

// The first screen: the ten pieces of the opening picture roll and fade in,
// and on the 90th frame everything the game carries is loaded once.
class LoadingScreen : public Screen {
public:
    explicit LoadingScreen(GameContext& game) : game(game) {}
    // The ten pieces, at the game's start before the first frame.
    void LoadPieces();
    void Frame() override;

private:
    // The resources into the game's context, in the order of the set-up.
    void LoadResources();

    GameContext& game;
    std::array<MeshResource, 10> pieces;
    std::array<SceneNode, 10> pieceNodes;
    int loadFrames = 0;
};
