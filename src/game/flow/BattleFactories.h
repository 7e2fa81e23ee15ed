#pragma once

class World;

// Makes the world build the real stations and fighters of each country.
void InstallBattleFactories(World& world);
