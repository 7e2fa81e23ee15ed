#include "game/fighters/FighterFactory.h"

#include "game/fighters/Fighter.h"
#include "game/world/Country.h"
#include "game/world/World.h"
#include "platform/Log.h"

#include <memory>

void InstallFighterFactory(World& world) {
    world.launchFighter = [&world](Country& record, int slot) -> Unit* {
        const auto& types = FighterTypes();
        if (record.countryIndex < 0 || record.countryIndex >= int(types.size())) {
            Log("戦闘機: 国番号 %d の機種はありません.\n", record.countryIndex);
            return nullptr;
        }
        if (slot < 0 || slot >= record.fightersPerTeam || !record.station) return nullptr;
        Vector3 position, forward, up;
        if (!record.station->LaunchPose(position, forward, up)) {
            Log("戦闘機: 基地に発進位置がありません (国番号 %d).\n", record.countryIndex);
            return nullptr;
        }
        return world.fighters.Add(std::make_unique<Fighter>(world, types[size_t(record.countryIndex)], record.teamId,
                                                            &record.fighters[size_t(slot)], position, forward, up));
    };
}
