#include "game/flow/BattleFactories.h"

#include "game/world/World.h"

void InstallBattleFactories(World&) {}
