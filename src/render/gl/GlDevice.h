#pragma once

#include "render/DrawList.h"

#include <memory>
#include <span>
#include <string>

class GlRenderer;
class Window;

// How a frame's draw list becomes OpenGL calls.
enum class GlRendererKind {
    // Batched: a few draws a frame through one shader program, on the
    // subset of OpenGL 3.3 core that OpenGL ES 3.0 shares.
    Batched,
    // The fixed-function pipeline of OpenGL 2.1, one OpenGL draw per draw of
    // the game (needs a compatibility context): the reference picture, and
    // the fallback where OpenGL 3.3 is missing.
    Classic
};

// The device over OpenGL. What the game draws is kept as a draw list and
// rendered when the frame is presented (or when a picture is read back); the
// game draws into a W x H framebuffer object, and Present copies it into the
// window, 1:1 in a window and scaled with black bars when the window covers a
// larger desktop.
class GlDevice : public DrawListDevice, private ListResources::Listener {
public:
    // Needs the window's OpenGL context to be current. A window of null
    // renders offscreen only (Present draws nothing to a screen).
    GlDevice(Window* window, int width, int height, GlRendererKind kind);
    ~GlDevice() override;

    // False when the framebuffer or the renderer could not be made (the
    // device is unusable).
    bool Ready() const { return framebuffer != 0 && renderer != nullptr; }
    GlRendererKind Kind() const { return kind; }

    bool BeginScene() override;

    std::string AdapterName() const override;
    bool IsSoftwareRenderer() const;
    // Limits for the start-up log.
    struct Caps {
        int maxLights = 0, maxTextureSize = 0, maxTextureUnits = 0, maxIndices = 0;
    };
    Caps QueryCaps() const;

    // One pixel of the back buffer as ARGB, in back-buffer pixels from the top
    // left (tests and screenshots). Draws what was recorded first.
    uint32_t ReadPixel(int x, int y);
    // The whole back buffer as ARGB rows from the top.
    void ReadPixels(std::span<uint32_t> argb);
    int Width() const { return width; }
    int Height() const { return height; }

    bool CaptureNextPicture(std::function<void(CapturedPicture&&)> take) override;

    // Renders a list made elsewhere (by another list device) onto the back
    // buffer, as a frame of this device would be.
    void Render(const DrawList& list);

protected:
    void RenderList(const DrawList& list, DrawStats& stats) override;
    void ShowPicture() override;

private:
    // The framebuffer's pixels as glReadPixels gives them: rows from the bottom.
    void ReadBack(std::span<uint32_t> argb);
    void Forget(ListTexture& texture) override;
    void Forget(ListMesh& mesh) override;

    Window* window;
    int width, height;
    GlRendererKind kind;
    unsigned framebuffer = 0, colorBuffer = 0, depthBuffer = 0;
    std::unique_ptr<GlRenderer> renderer;
    // Who takes the next picture shown; empty when nobody asked.
    std::function<void(CapturedPicture&&)> capture;
};
