#pragma once

#include <array>

// The countries that can take part, by country index. Country i flies
// fighter type i + 1 and owns station type i + 1: the fighter and station
// tables hold a row for every name here (they check it when they compile),
// and the asset generator a model and a flag.
inline constexpr std::array CountryNames{
    "Japan",  "United States", "United Kingdom", "France",    "Germany", "Italy",
    "Russia", "China",         "South Korea",    "Australia", "Canada",  "United Nations",
};
constexpr int CountryCount = int(CountryNames.size());

// Every country may form a team of its own: team numbers run 1..MaxTeams.
constexpr int MaxTeams = CountryCount;
// The most fighter slots a country can have (the "Number of fighters" setting).
constexpr int MaxFightersPerTeam = 10;

// How many units of each family a battle of every country can hold: one
// station per country, every fighter slot filled, and six panels and four
// turrets per country on average (the station rows check that all of theirs
// fit). The hit table has an entry for each.
constexpr int StationCapacity = CountryCount;
constexpr int PanelCapacity = 6 * CountryCount;
constexpr int TurretCapacity = 4 * CountryCount;
constexpr int FighterCapacity = MaxFightersPerTeam * CountryCount;
constexpr int HittableCapacity = StationCapacity + PanelCapacity + TurretCapacity + FighterCapacity;
