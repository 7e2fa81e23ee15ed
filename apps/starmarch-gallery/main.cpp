// A developer's look at everything the game carries: every model lit and seen
// from three quarters, and every bitmap, each in a labelled cell of one PNG.
//
//   starmarch-gallery --png OUT.png [--x FILE.x ...]
//   starmarch-gallery --loading OUT.png [--frame N]
//
// With --x only the given X files are drawn (each under its file name). With
// --loading the ten loading pieces are drawn at 640 x 480 as the loading
// screen shows them at frame N (89 by default: the finished picture). One
// line per model tells how it loaded and what it is made of. Exit code 0 only
// when everything loaded. Runs under a display or, without one, on SDL's
// offscreen driver.
#include "game/screens/LoadingScreen.h"
#include "platform/CommandLine.h"
#include "platform/Log.h"
#include "platform/Window.h"
#include "render/Graphics.h"
#include "render/MeshResource.h"
#include "render/ResourceTable.h"
#include "render/SceneNode.h"
#include "render/Sprite.h"
#include "render/TextureCache.h"
#include "render/gl/GlDevice.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <sstream>
#include <stb_image_write.h>
#include <string>
#include <vector>

namespace {

constexpr int Cell = 160;
constexpr int Columns = 8;

struct Options {
    std::string png;
    std::string loading;
    int frame = 89;
    std::vector<std::string> xFiles;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--png" && i + 1 < argc) {
            options.png = argv[++i];
        } else if (arg == "--loading" && i + 1 < argc) {
            options.loading = argv[++i];
        } else if (arg == "--frame" && i + 1 < argc) {
            options.frame = std::atoi(argv[++i]);
        } else if (arg == "--x") {
            while (i + 1 < argc && argv[i + 1][0] != '-') options.xFiles.push_back(argv[++i]);
        } else {
            return false;
        }
    }
    return !options.png.empty() || !options.loading.empty();
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string Stem(const std::string& path) {
    size_t slash = path.find_last_of('/');
    std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// The atlas the cells are copied into, ARGB rows from the top.
struct Atlas {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;

    void Paste(int cell, const std::vector<uint32_t>& image) {
        int x0 = (cell % Columns) * Cell, y0 = (cell / Columns) * Cell;
        for (int y = 0; y < Cell; ++y)
            std::copy_n(image.begin() + ptrdiff_t(y) * Cell, Cell, pixels.begin() + ptrdiff_t(y0 + y) * width + x0);
    }

    bool WritePng(const std::string& path) const {
        std::vector<unsigned char> rgba(pixels.size() * 4);
        for (size_t i = 0; i < pixels.size(); ++i) {
            uint32_t p = pixels[i];
            rgba[i * 4 + 0] = (unsigned char)(p >> 16);
            rgba[i * 4 + 1] = (unsigned char)(p >> 8);
            rgba[i * 4 + 2] = (unsigned char)p;
            rgba[i * 4 + 3] = 255;
        }
        return stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4) != 0;
    }
};

void Label(Device& device, Sprite& font, const std::string& text, uint32_t color) {
    if (!font.texture) return;
    font.positionX = 4;
    font.positionY = Cell - 13;
    font.color = color;
    font.DrawText(device, text);
}

// The loading screen's picture: ten pieces, each starting three frames after
// the one before, rolling in and fading in from nothing.
int DrawLoadingPicture(const Options& options) {
    constexpr int Width = 640, Height = 480;
    Window window;
    if (!window.Create(Width, Height)) return 1;
    CommandLine commandLine(std::vector<std::string>{"-win"});
    Graphics graphics(window, commandLine, 1, Width, Height);
    if (!graphics.Init()) return 1;
    graphics.resources = &ResourceTable::Embedded();
    Device& device = *graphics.device();

    MeshResource pieces[10];
    SceneNode nodes[10];
    bool ok = true;
    for (int i = 0; i < 10; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "OP_%02d", i);
        ok = pieces[i].Load(graphics, name, 0, 1) && ok;
        nodes[i].Init(&pieces[i], 0, 0, 0, 0.1f);
    }
    SetCamera(graphics, {0, -10, -30}, {0, -2, 0}, {0, 1, 0});
    graphics.SetDirectionalLight(1, -2, 1, 1, 1, 1, 1);
    device.SetRenderState(RenderState::NormalizeNormals, 1);
    graphics.BeginFrame(0xFF000000);
    device.SetRenderState(RenderState::ZFunc, CmpLessEqual);
    device.SetRenderState(RenderState::Lighting, 1);
    for (int i = 0; i < 10; ++i)
        if (PlaceLoadingPiece(nodes[i], i, options.frame)) nodes[i].DrawFaded();
    device.SetRenderState(RenderState::Lighting, 0);
    Atlas picture;
    picture.width = Width;
    picture.height = Height;
    picture.pixels.resize(size_t(Width) * Height);
    static_cast<GlDevice&>(device).ReadPixels(picture.pixels);
    if (!picture.WritePng(options.loading)) return 1;
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: starmarch-gallery --png OUT.png [--x FILE.x ...]\n");
        return 2;
    }
    if (Window::OpenVideo() != Window::VideoStatus::Ready) {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        if (Window::OpenVideo() != Window::VideoStatus::Ready) {
            std::fprintf(stderr, "starmarch-gallery: no OpenGL display, not even SDL's offscreen one\n");
            return 1;
        }
    }

    std::string log;
    SetLogCapture(&log);
    if (!options.loading.empty()) {
        int result = DrawLoadingPicture(options);
        SetLogCapture(nullptr);
        if (result != 0) std::fprintf(stderr, "%s", log.c_str());
        Window::CloseVideo();
        return result;
    }
    bool ok = true;
    int exitCode = 0;
    {
        Window window;
        if (!window.Create(Cell, Cell)) {
            std::fprintf(stderr, "starmarch-gallery: no window\n");
            return 1;
        }
        CommandLine commandLine(std::vector<std::string>{"-win"});
        Graphics graphics(window, commandLine, 1, Cell, Cell);
        if (!graphics.Init()) {
            SetLogCapture(nullptr);
            std::fprintf(stderr, "%s", log.c_str());
            return 1;
        }
        auto* device = static_cast<GlDevice*>(graphics.device());

        // The game's own resources, with the given files in front of them.
        ResourceTable resources;
        std::vector<std::string> texts;
        texts.reserve(options.xFiles.size());
        for (const std::string& path : options.xFiles) texts.push_back(ReadFile(path));
        for (size_t i = 0; i < options.xFiles.size(); ++i)
            resources.Add("X", Stem(options.xFiles[i]),
                          {reinterpret_cast<const unsigned char*>(texts[i].data()), texts[i].size()});
        for (const ResourceTable::Entry& entry : ResourceTable::Embedded().Entries())
            if (options.xFiles.empty() || entry.type != "X") resources.Add(entry.type, entry.name, entry.data);
        graphics.resources = &resources;

        Texture fontSheet;
        Sprite font;
        if (fontSheet.Load(graphics, "FONT", 0xFF000000, 1)) font.SetTexture(&fontSheet);

        std::vector<std::string> models, bitmaps;
        for (const ResourceTable::Entry& entry : resources.Entries()) {
            if (entry.type == "X") models.push_back(entry.name);
            if (entry.type == "BITMAP" && options.xFiles.empty()) bitmaps.push_back(entry.name);
        }

        Atlas atlas;
        int cells = int(models.size() + bitmaps.size());
        atlas.width = Columns * Cell;
        atlas.height = std::max(1, (cells + Columns - 1) / Columns) * Cell;
        atlas.pixels.assign(size_t(atlas.width) * size_t(atlas.height), 0xFF000000);
        std::vector<uint32_t> image(size_t(Cell) * Cell);
        int cell = 0;
        size_t totalTriangles = 0;

        for (const std::string& name : models) {
            log.clear();
            MeshResource mesh;
            bool loaded = mesh.Load(graphics, name, 0, 1);
            std::string result = log;
            result.erase(std::remove(result.begin(), result.end(), '\n'), result.end());
            const MeshData& data = mesh.Geometry();
            Vector3 extent = mesh.boxMax - mesh.boxMin;
            std::printf("%-14s %-40s subsets %2zu  vertices %5zu  triangles %5zu  box %6.2f x %6.2f x %6.2f  sphere %6.2f\n",
                        name.c_str(), result.c_str(), data.subsets.size(), data.vertices.size(), data.TriangleCount(),
                        extent.x, extent.y, extent.z, mesh.sphereRadius);
            ok = ok && loaded;
            totalTriangles += data.TriangleCount();

            // Three-quarter view from above and in front, far enough for the
            // bounding sphere to fill most of the cell.
            float radius = std::max(mesh.sphereRadius, 0.01f);
            Vector3 center = mesh.sphereCenter;
            float distance = radius / std::sin(std::numbers::pi_v<float> / 8) * 1.1f;
            Vector3 eye = center + Vec3Normalize({0.9f, 0.6f, -1.0f}) * distance;
            graphics.view = MatrixLookAtLH(eye, center, {0, 1, 0});
            graphics.SetDirectionalLight(1, -1, 1, 0.7f, 0.7f, 0.7f, 0);
            graphics.BeginFrame(0xFF182038);
            SceneNode node;
            node.Init(&mesh, 0, 0, 0, 1);
            node.Draw();
            Label(*device, font, name, loaded ? 0xFFFFFFFF : 0xFFFF4040);
            device->ReadPixels(image);
            atlas.Paste(cell++, image);
        }

        for (const std::string& name : bitmaps) {
            log.clear();
            Texture picture;
            bool loaded = picture.Load(graphics, name, 0, 1);
            ok = ok && loaded;
            std::printf("%-14s %s %d x %d\n", name.c_str(), loaded ? "bitmap ok." : "bitmap failed.", picture.Width(),
                        picture.Height());
            graphics.BeginFrame(0xFF404040);
            if (loaded) {
                Sprite sprite;
                sprite.SetTexture(&picture);
                float fit = std::min(float(Cell - 8) / float(picture.Width()), float(Cell - 20) / float(picture.Height()));
                fit = std::min(fit, 4.0f);
                sprite.scalingX = sprite.scalingY = fit;
                sprite.positionX = (float(Cell) - float(picture.Width()) * fit) / 2;
                sprite.positionY = 4;
                device->BeginSprites();
                sprite.Draw(*device);
                device->EndSprites();
            }
            Label(*device, font, name, loaded ? 0xFFFFFFFF : 0xFFFF4040);
            device->ReadPixels(image);
            atlas.Paste(cell++, image);
        }
        std::printf("%zu models (%zu triangles), %zu bitmaps\n", models.size(), totalTriangles, bitmaps.size());
        if (!atlas.WritePng(options.png)) {
            std::fprintf(stderr, "starmarch-gallery: could not write %s\n", options.png.c_str());
            exitCode = 1;
        }
        if (models.empty()) ok = false;
    }
    SetLogCapture(nullptr);
    Window::CloseVideo();
    return exitCode ? exitCode : (ok ? 0 : 1);
}
