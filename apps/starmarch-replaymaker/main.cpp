// Records battles with scripted input, without a person and without a
// window, through the same battle frame the game runs: the replays the tests
// keep (scripts/record-replays.sh) and long battles for size figures.
//
//   starmarch-replaymaker OUTDIR            the kept replays: manual.smreplay,
//                                           twelve.smreplay, station-lost.smreplay
//   starmarch-replaymaker --long FILE STEPS a twelve-country battle of STEPS steps
//                                           with busy input all the way
#include "game/fighters/Fighter.h"
#include "game/flow/BattleFactories.h"
#include "game/replay/ReplayRun.h"
#include "game/world/Country.h"
#include "game/world/World.h"
#include "platform/Input.h"
#include "platform/Log.h"
#include "render/Graphics.h"
#include "render/NullDevice.h"
#include "render/ResourceTable.h"
#include "render/SceneNode.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <string>

namespace {

// A scripted player: which actions and buttons are down this step, turned
// into edge codes against the last step.
class Player {
public:
    std::set<int> down;
    bool left = false, right = false, escape = false, alt = false;
    int dx = 0, dy = 0, wheel = 0;

    ReplayStep Next() {
        ReplayStep step;
        for (int a = 0; a < ActionCount; ++a)
            step.input.actions[size_t(a)] = uint8_t(Edge(down.count(a) > 0, wasDown.count(a) > 0));
        step.input.left = uint8_t(Edge(left, wasLeft));
        step.input.right = uint8_t(Edge(right, wasRight));
        step.input.escape = uint8_t(Edge(escape, wasEscape));
        step.input.alt = alt;
        step.input.dx = dx;
        step.input.dy = dy;
        step.input.wheel = wheel;
        wasDown = down;
        wasLeft = left;
        wasRight = right;
        wasEscape = escape;
        dx = dy = wheel = 0;
        return step;
    }
    // Pressed for one step, let go the next.
    void Tap(int action) { taps.insert(action); }
    void ReleaseTaps() {
        for (int a : taps) down.erase(a);
        taps.clear();
    }
    void Hold(int action, bool on) {
        if (on)
            down.insert(action);
        else
            down.erase(action);
    }
    // Moves the cursor onto a point of the world; false when it is behind the camera.
    bool Aim(const World& world, const Vector3& at) {
        Vector3 screen = ProjectToScreen(world.graphics, at);
        if (screen.z < 0) return false;
        dx = int(std::lround(screen.x)) - world.cursorX;
        dy = int(std::lround(screen.y)) - world.cursorY;
        return true;
    }

private:
    static int Edge(bool now, bool before) { return (now ? 2 : 0) | (before ? 1 : 0); }
    std::set<int> wasDown, taps;
    bool wasLeft = false, wasRight = false, wasEscape = false;
};

// The nearest living enemy station of the player, or null.
const Unit* EnemyStation(const World& world) {
    for (size_t i = 0; i < StationPool::Capacity; ++i) {
        const Unit* unit = world.stations[i];
        if (unit && unit->Alive() && unit->team != world.setup.playerTeam) return unit;
    }
    return nullptr;
}

// Flies, fires and gives orders: the player's fighter taken over, flown with
// every control and both weapons, let go; a fighter ordered onto an enemy
// station with the right button; camera turned, zoomed, focused, reset; the
// overlay and meters switched; Escape at the end.
struct ManualScript {
    Player p;
    uint32_t length = 2400;
    // What the script saw happen: steps flown by hand, the order taken.
    uint32_t flown = 0;
    bool ordered = false;
    bool operator()(const World& world, uint32_t step, ReplayStep& next) {
        if (step >= length) return false;
        p.ReleaseTaps();
        if (!world.NobodyFlown()) ++flown;
        if (step == 1130 && world.selectedUnit)
            ordered = world.selectedUnit->GetTarget() == EnemyStation(world);
        const uint32_t s = step;
        if (s == 40) p.Tap(MyFighter), p.down.insert(MyFighter);
        if (s == 45) p.Tap(ManualControl), p.down.insert(ManualControl);
        // Manual flight: throttle, then turns in every axis, guns and missiles.
        if (s >= 50 && s < 900) {
            const uint32_t t = s - 50;
            if (t % 200 == 0) p.Tap(ThrottleUp), p.down.insert(ThrottleUp);
            p.Hold(ElevatorUp, t % 160 < 30);
            p.Hold(ElevatorDown, t % 160 >= 80 && t % 160 < 100);
            p.Hold(AileronLeft, t % 120 >= 20 && t % 120 < 45);
            p.Hold(AileronRight, t % 120 >= 70 && t % 120 < 85);
            p.Hold(RudderLeft, t % 90 < 10);
            p.Hold(RudderRight, t % 90 >= 50 && t % 90 < 58);
            p.Hold(MainWeapon, t % 50 < 25);
            if (t % 140 == 60) p.Tap(SubWeapon), p.down.insert(SubWeapon);
            if (t == 400) p.Tap(ThrottleDown), p.down.insert(ThrottleDown);
        }
        if (s == 900) {
            for (int a :
                 {ElevatorUp, ElevatorDown, AileronLeft, AileronRight, RudderLeft, RudderRight, MainWeapon})
                p.Hold(a, false);
            p.Tap(ManualControl), p.down.insert(ManualControl);
        }
        // Back on the orbit camera: reset it, turn it with the right button, zoom.
        if (s == 920) p.Tap(ResetCamera), p.down.insert(ResetCamera);
        if (s >= 930 && s < 990) {
            p.right = s < 985;
            p.dx = s < 960 ? 7 : -3;
            p.dy = s < 950 ? 2 : -1;
        }
        if (s >= 1000 && s < 1020) p.wheel = s < 1010 ? 120 : -120;
        if (s == 1030) p.Tap(ToggleMeter), p.down.insert(ToggleMeter);
        if (s == 1040) p.Tap(ToggleOverlay), p.down.insert(ToggleOverlay);
        if (s == 1060) p.Tap(ToggleOverlay), p.down.insert(ToggleOverlay);
        // An order: a fighter selected, the pointer onto an enemy station, right click.
        if (s == 1100) p.Tap(MyFighter), p.down.insert(MyFighter);
        if (s == 1110) p.Tap(ResetCamera), p.down.insert(ResetCamera);
        if (s >= 1120 && s < 1126)
            if (const Unit* target = EnemyStation(world)) p.Aim(world, target->GetWorldPosition());
        if (s == 1126) p.right = true;
        if (s == 1127) p.right = false;
        // Selection with the left button, focus with Alt, the pilot view.
        if (s >= 1200 && s < 1204)
            if (world.playerStation) p.Aim(world, world.playerStation->GetWorldPosition());
        if (s == 1204) p.left = true;
        if (s == 1205) p.left = false;
        if (s == 1210) p.Tap(FocusOnUnit), p.down.insert(FocusOnUnit);
        if (s == 1300) p.Tap(MyFighter), p.down.insert(MyFighter);
        if (s == 1305) p.Tap(FocusOnUnit), p.down.insert(FocusOnUnit);
        if (s == 1310) p.Tap(PilotView), p.down.insert(PilotView);
        if (s == 1500) p.Tap(PilotView), p.down.insert(PilotView);
        if (s == 1510) p.Tap(StopOrder), p.down.insert(StopOrder);
        if (s == 1600) p.Tap(MyStation), p.down.insert(MyStation);
        if (s >= 1610 && s < 1614)
            if (const Unit* target = EnemyStation(world)) p.Aim(world, target->GetWorldPosition());
        p.alt = s >= 1614 && s < 1617;
        if (s == 1615) p.left = true;
        if (s == 1616) p.left = false;
        if (s == 1700) p.Tap(ResetCamera), p.down.insert(ResetCamera);
        if (s == length - 1) p.escape = true;
        next = p.Next();
        return true;
    }
};

// Twelve countries, each its own team; the player watches from slot 0 and
// turns the camera now and then.
struct WatchScript {
    Player p;
    uint32_t length = 5000;
    bool busy = false;
    bool operator()(const World&, uint32_t step, ReplayStep& next) {
        if (step >= length) return false;
        p.ReleaseTaps();
        const uint32_t t = step % 600;
        if (busy || step < 1200) {
            p.right = t >= 100 && t < 160;
            if (p.right) p.dx = 4, p.dy = t < 130 ? 1 : -1;
            if (t >= 300 && t < 306) p.wheel = -120;
            if (t == 400) p.Tap(MyFighter), p.down.insert(MyFighter);
            if (t == 410) p.Tap(FocusOnUnit), p.down.insert(FocusOnUnit);
            if (t == 500) p.Tap(ResetCamera), p.down.insert(ResetCamera);
            if (busy && t % 7 == 0) p.dx = 1;
        }
        if (step == length - 1) p.escape = true;
        next = p.Next();
        return true;
    }
};

// One country against eleven allies of each other: the player's station
// falls; the battle goes on a little, then Escape.
struct StationLostScript {
    Player p;
    uint32_t lostAt = 0;
    uint32_t limit = 12000;
    bool operator()(const World& world, uint32_t step, ReplayStep& next) {
        if (step >= limit) return false;
        p.ReleaseTaps();
        if (step == 30) p.Tap(MyStation), p.down.insert(MyStation);
        if (step > 30 && !lostAt && !world.playerStation) lostAt = step;
        if (lostAt && step == lostAt + 10) p.Tap(MyStation), p.down.insert(MyStation);
        if (lostAt && step == lostAt + 20) p.Tap(MyFighter), p.down.insert(MyFighter);
        if (lostAt && step == lostAt + 150) p.escape = true;
        if (lostAt && step > lostAt + 150) return false;
        next = p.Next();
        return true;
    }
};

bool Write(const std::string& path, const ReplayRunResult& result) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(result.file.data()), std::streamsize(result.file.size()));
    if (!file) {
        std::fprintf(stderr, "starmarch-replaymaker: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s: %u steps, %zu bytes\n", path.c_str(), result.steps, result.file.size());
    return true;
}

ReplayRunResult Record(const ReplayBattle& battle, const ReplayInputSource& source) {
    Graphics graphics(std::make_unique<NullDevice>(), battle.width, battle.height);
    graphics.resources = &ResourceTable::Embedded();
    BattleFamilies families;
    families.Load(graphics);
    return RunReplayBattle(
        graphics, battle, [&families](World& world) { families.Install(world); }, source);
}

ReplayBattle Battle(int width, int height, uint32_t seed, int fighters) {
    ReplayBattle battle;
    battle.width = width;
    battle.height = height;
    battle.seed = seed;
    battle.selection.fightersPerTeam = fighters;
    battle.selection.playerSlot = 0;
    return battle;
}

} // namespace

int main(int argc, char** argv) {
    std::string log;
    SetLogCapture(&log);
    int status = 0;
    if (argc == 4 && std::string(argv[1]) == "--long") {
        ReplayBattle battle = Battle(640, 480, 19, 10);
        for (int c = 0; c < CountryCount; ++c) battle.selection.Place(c, c, c + 1);
        WatchScript script;
        script.length = uint32_t(std::strtoul(argv[3], nullptr, 10));
        script.busy = true;
        status = Write(argv[2], Record(battle, std::ref(script))) ? 0 : 1;
    } else if (argc == 2) {
        const std::string dir = argv[1];
        ReplayBattle manual = Battle(800, 600, 11, 3);
        manual.selection.Place(0, 0, 1);
        manual.selection.Place(1, 1, 2);
        manual.selection.Place(2, 2, 2);
        ManualScript flying;
        ReplayBattle twelve = Battle(640, 480, 7, 4);
        for (int c = 0; c < CountryCount; ++c) twelve.selection.Place(c, c, c + 1);
        WatchScript watching;
        ReplayBattle lost = Battle(1024, 768, 5, 6);
        lost.selection.Place(3, 0, 1);
        for (int c = 4; c < 8; ++c) lost.selection.Place(c, c - 3, 2);
        StationLostScript falling;
        // All three are made first: none is kept unless each did what it is for.
        const ReplayRunResult made[] = {Record(manual, std::ref(flying)), Record(twelve, std::ref(watching)),
                                        Record(lost, std::ref(falling))};
        bool good = true;
        if (flying.flown < 500 || !flying.ordered) {
            std::fprintf(stderr, "starmarch-replaymaker: the manual battle flew %u steps by hand, %s\n",
                         flying.flown, flying.ordered ? "its order was taken" : "its order was not taken");
            good = false;
        }
        if (!falling.lostAt) {
            std::fprintf(stderr, "starmarch-replaymaker: the player's station did not fall\n");
            good = false;
        }
        good = good && Write(dir + "/manual.smreplay", made[0]) && Write(dir + "/twelve.smreplay", made[1]) &&
               Write(dir + "/station-lost.smreplay", made[2]);
        status = good ? 0 : 1;
    } else {
        std::fprintf(stderr, "usage: starmarch-replaymaker OUTDIR | --long FILE STEPS\n");
        status = 2;
    }
    SetLogCapture(nullptr);
    return status;
}
