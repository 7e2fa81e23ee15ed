// The cost of drawing on this machine's OpenGL (llvmpipe in software here):
// one frame of many small lit meshes, as a battle draws its units and shots.
// Runs on SDL's offscreen driver, so it needs no display.
#include "platform/CommandLine.h"
#include "platform/Log.h"
#include "platform/Window.h"
#include "render/Graphics.h"
#include "render/MeshResource.h"
#include "render/ResourceTable.h"
#include "render/SceneNode.h"
#include "support/TestModels.h"

#include <benchmark/benchmark.h>

namespace {

void DrawManyBoxes(benchmark::State& state) {
    if (Window::OpenVideo() != Window::VideoStatus::Ready) {
        state.SkipWithError("no OpenGL display (set SDL_VIDEODRIVER=offscreen)");
        return;
    }
    std::string log;
    SetLogCapture(&log);
    {
        Window window;
        window.Create(640, 480);
        CommandLine commandLine(std::vector<std::string>{"-win"});
        Graphics graphics(window, commandLine, 1, 640, 480);
        if (!graphics.Init()) {
            state.SkipWithError("graphics did not start");
            return;
        }
        std::string box = BoxModelX(0.5f, 0.5f, 0.5f, {{0.8f, 0.6f, 0.4f, 1, ""}});
        ResourceTable resources;
        resources.Add("X", "BOX", {reinterpret_cast<const unsigned char*>(box.data()), box.size()});
        graphics.resources = &resources;
        MeshResource mesh;
        mesh.Load(graphics, "BOX", 0, 1);
        const int count = int(state.range(0));
        std::vector<SceneNode> nodes(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            nodes[size_t(i)].Init(&mesh, float(i % 40) - 20, float((i / 40) % 30) - 15, float(i / 1200) * 3, 0.5f);
            nodes[size_t(i)].RotateY(float(i));
        }
        SetCamera(graphics, {0, 0, -40}, {0, 0, 0}, {0, 1, 0});
        for (auto _ : state) {
            graphics.BeginFrame(0xFF000000);
            for (const SceneNode& node : nodes) node.Draw();
            graphics.EndFrame();
        }
        state.counters["draws"] = double(count);
        state.counters["triangles"] = double(count) * 12;
        state.counters["us_per_draw"] =
            benchmark::Counter(double(count) * 1e-6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
        state.SetLabel(graphics.deviceTypeName);
    }
    Window::CloseVideo();
    SetLogCapture(nullptr);
}

} // namespace

BENCHMARK(DrawManyBoxes)->Arg(100)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);
