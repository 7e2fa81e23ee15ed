#pragma once

class World;

// Makes the world's fighter launches build fighters of the country's type
// (country index k flies FIGHTER_k+1) at its station's launch point.
void InstallFighterFactory(World& world);
