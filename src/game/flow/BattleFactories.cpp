#include "game/flow/BattleFactories.h"

#include "game/fighters/FighterFactory.h"
#include "game/stations/Station.h"
#include "game/world/World.h"

void BattleFamilies::Load(Graphics& graphics) { stations.LoadMeshes(graphics); }

void BattleFamilies::Install(World& world) const {
    InstallStationFactory(world, stations);
    InstallFighterFactory(world);
}
