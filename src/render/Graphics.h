#pragma once

#include "platform/Subsystem.h"
#include "render/Device.h"
#include "render/Math.h"

#include <memory>
#include <string>

class CommandLine;
class GlDevice;
class Window;
class ResourceTable;
class TextureCache;

// The graphics state: the device, the back-buffer size W x H, the window mode
// and the shared camera and screen matrices through which the game projects
// between world, camera and screen. Started after the window, freed before it.
class Graphics : public Subsystem {
public:
    // The game's graphics, on the window (started by Init).
    Graphics(Window& window, const CommandLine& commandLine, int configuredWindowed, int width, int height);
    // Graphics on a device made elsewhere (headless battles, tests): ready at once.
    Graphics(std::unique_ptr<Device> device, int width, int height);
    ~Graphics() override;

    bool Init() override;
    void Free() override;

    // Starts a frame. A colour of 0 keeps the previous image and clears only
    // depth. Applies the view and recomputes the camera and screen matrices.
    // Returns false when the scene must skip drawing this frame.
    bool BeginFrame(uint32_t color);
    void EndFrame();

    // Pictures between steps (see Device::SetStepped): false when the device
    // can't, and everything stays one picture per frame.
    bool SetStepped(bool stepped);
    // The picture at fraction t between the last two steps, the pointer moved
    // by (pointerDx, pointerDy) back-buffer pixels.
    void PresentPicture(float t, float pointerDx, float pointerDy);

    // Sets and enables the one directional light; the direction is normalised.
    void SetDirectionalLight(float dx, float dy, float dz, float r, float g, float b, float a);

    // Whether the command line or the configuration asks for a window; the
    // text is what the log says about it.
    static int ChooseWindowed(const CommandLine& commandLine, int configuredWindowed, std::string& logText);

    Device* device() const { return devicePtr.get(); }

    // The resources the meshes and textures load from; may be null.
    const ResourceTable* resources = nullptr;
    // Textures shared between meshes.
    std::unique_ptr<TextureCache> textureCache;

    // Draw through the fixed-function pipeline, one OpenGL draw per draw of
    // the game (the reference picture), instead of in batches. Read by Init;
    // STARMARCH_RENDERER=classic in the environment sets it too.
    bool classicRenderer = false;

    int windowed = 0;
    int displayWidth = 640;
    int displayHeight = 480;
    // The UI scale: everything drawn in screen pixels (menus, overlays,
    // meters, text, the pointer) is laid out on a uiWidth x uiHeight screen
    // and drawn uiScale times larger. 1 draws as the game always did.
    int uiScale = 1;
    int uiWidth = 640;
    int uiHeight = 480;
    // Sets the UI scale (1 or more): the UI size, the screen matrices and the
    // device's scale for screen-space draws.
    void SetUiScale(int scale);
    // "TnLHAL", "HAL" or "REF": what kind of device drew.
    std::string deviceTypeName;

    Matrix world = MatrixIdentity();
    // The camera's view matrix: scenes write it, BeginFrame applies it.
    Matrix view = MatrixIdentity();
    // Inverse of view: rows are the camera's right, up, forward and position.
    Matrix cameraMatrix = MatrixIdentity();
    Matrix projection = MatrixIdentity();
    // Projected coordinates to UI pixels, y down.
    Matrix viewportMatrix = MatrixIdentity();
    // World to UI pixels (after division by w), and back.
    Matrix screenMatrix = MatrixIdentity();
    Matrix inverseScreenMatrix = MatrixIdentity();
    DirectionalLight light;

private:
    // Transforms, fixed render states and the light every scene relies on.
    void SetupDevice();
    // The OpenGL context and the device on it; null when neither kind starts.
    std::unique_ptr<GlDevice> CreateGlDevice();
    // What Free does after its stop lines; the destructor's part.
    void Release();

    Window* window = nullptr;
    const CommandLine* commandLine = nullptr;
    std::unique_ptr<Device> devicePtr;
    bool started = false;
    // Set by Free once its lines are written; cleared by Init.
    bool stopped = false;
};
