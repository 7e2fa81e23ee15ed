#include "render/Graphics.h"

#include "platform/CommandLine.h"
#include "platform/Log.h"
#include "platform/MessageBox.h"
#include "platform/Window.h"
#include "render/TextureCache.h"
#include "render/gl/GlDevice.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>

Graphics::Graphics(Window& window, const CommandLine& commandLine, int configuredWindowed, int width, int height)
    : textureCache(std::make_unique<TextureCache>(*this)), windowed(configuredWindowed), displayWidth(width),
      displayHeight(height), uiWidth(width), uiHeight(height), window(&window), commandLine(&commandLine) {}

Graphics::Graphics(std::unique_ptr<Device> device, int width, int height)
    : textureCache(std::make_unique<TextureCache>(*this)), windowed(1), displayWidth(width), displayHeight(height),
      uiWidth(width), uiHeight(height),
      devicePtr(std::move(device)) {
    deviceTypeName = "REF";
    SetupDevice();
    started = true;
}

Graphics::~Graphics() { Release(); }

int Graphics::ChooseWindowed(const CommandLine& commandLine, int configuredWindowed, std::string& logText) {
    if (commandLine.HasSwitch("-win")) {
        logText = "ON\n";
        return 1;
    }
    if (commandLine.HasSwitch("-full")) {
        logText = "OFF\n";
        return 0;
    }
    logText = "CFG(" + std::to_string(configuredWindowed) + ")\n";
    return configuredWindowed;
}

std::unique_ptr<GlDevice> Graphics::CreateGlDevice() {
    const char* asked = std::getenv("STARMARCH_RENDERER");
    if (asked && std::strcmp(asked, "classic") == 0) classicRenderer = true;
    // Batches need OpenGL 3.3; without it the fixed-function pipeline draws.
    if (!classicRenderer && window->CreateGlContext(Window::GlProfile::Core33)) {
        auto gl = std::make_unique<GlDevice>(window, displayWidth, displayHeight, GlRendererKind::Batched);
        if (gl->Ready()) return gl;
        gl.reset();
    }
    if (!window->CreateGlContext(Window::GlProfile::Compatibility21)) return nullptr;
    classicRenderer = true;
    return std::make_unique<GlDevice>(window, displayWidth, displayHeight, GlRendererKind::Classic);
}

bool Graphics::Init() {
    LogSeparator();
    Log("InitDirect3D\n");
    stopped = false;
    std::unique_ptr<GlDevice> gl = window ? CreateGlDevice() : nullptr;
    if (!gl) {
        ShowErrorBox("エラー", "Direct3Dの初期化に失敗しました.");
        return false;
    }

    int adapters = std::max(Window::DisplayCount(), 1);
    Log("アダプタ数 = %d\n", adapters);
    Log("アダプタID = ");
    int adapter = 0;
    if (adapters >= 2 && commandLine->HasSwitch("-2nd")) {
        adapter = 1;
        Log("1\n");
    } else {
        Log("D3DADAPTER_DEFAULT\n");
    }
    Log("アダプタ名 = %s\n", gl->AdapterName().c_str());

    std::vector<Window::DisplayMode> modes = Window::DisplayModes(adapter);
    Log("アダプタのモード数 = %d\n", int(modes.size()));
    Window::DisplayMode desktop = Window::DesktopMode(adapter);
    Log("現在のモード = %d x %d %s\n", desktop.width, desktop.height, desktop.formatName.c_str());

    // The monitor's mode is never switched: the wanted size is available when
    // the display offers it or when a window of that size fits on the desktop.
    bool found = desktop.width >= displayWidth && desktop.height >= displayHeight;
    for (const Window::DisplayMode& mode : modes)
        if (mode.width == displayWidth && mode.height == displayHeight) found = true;
    Log("ウインドウ化 = ");
    if (!found) {
        windowed = 0;
        Log("OFF(フォーマット変更)\n");
    } else {
        std::string decision;
        windowed = ChooseWindowed(*commandLine, windowed, decision);
        Log("%s", decision.c_str());
    }
    Log("選択されたモード = %d x %d %s ", displayWidth, displayHeight, desktop.formatName.c_str());
    Log("(%s)\n", "D3DFMT_D24X8");

    if (adapter != 0) window->CenterOnDisplay(adapter);
    window->Show(!windowed);

    if (!gl->Ready()) {
        ShowErrorBox("エラー", "3Dデバイスが作成できません.");
        return false;
    }
    deviceTypeName = gl->IsSoftwareRenderer() ? "REF" : "TnLHAL";
    Log("デバイスタイプ = %s\n", deviceTypeName.c_str());
    // Texture memory is not something OpenGL reports; the log says 0 KB.
    GlDevice::Caps caps = gl->QueryCaps();
    Log("最大プリミティブ = %d\n最大ライト = %d\nフォグ{\n\t頂点 = %d\n\tピクセル = %d\n\t範囲 = %d\n}\n"
        "テクスチャー{\n\t利用可能メモリ = %d KB\n\t最大サイズ = %d x %d\n\t最大ステージ = %d\n"
        "\tアルファブレンド = %d\n\tミップマップ = %d\n\tバンプマップ = %d\n}\n",
        caps.maxIndices, caps.maxLights, 1, 1, 0, 0, caps.maxTextureSize, caps.maxTextureSize, caps.maxTextureUnits,
        1, 1, 0);
    Log("描画方式 = %s\n", classicRenderer ? "CLASSIC" : "BATCH");
    devicePtr = std::move(gl);
    SetupDevice();
    started = true;
    return true;
}

void Graphics::SetupDevice() {
    Device& d = *devicePtr;
    world = MatrixIdentity();
    d.SetTransform(TransformType::World, world);
    view = MatrixLookAtLH({0, 0, -1}, {0, 0, 0}, {0, 1, 0});
    d.SetTransform(TransformType::View, view);
    projection = MatrixPerspectiveFovLH(std::numbers::pi_v<float> / 4, float(displayWidth) / float(displayHeight),
                                        0.1f, 500.0f);
    d.SetTransform(TransformType::Projection, projection);
    SetUiScale(uiScale);

    d.SetRenderState(RenderState::Lighting, 1);
    d.SetRenderState(RenderState::Ambient, 0xFF808080);
    d.SetRenderState(RenderState::SpecularEnable, 0);
    d.SetRenderState(RenderState::CullMode, CullCCW);
    d.SetRenderState(RenderState::ZEnable, 1);
    d.SetRenderState(RenderState::ZWriteEnable, 1);
    d.SetRenderState(RenderState::ZFunc, CmpLessEqual);
    d.SetRenderState(RenderState::AlphaBlendEnable, 1);
    d.SetRenderState(RenderState::SrcBlend, BlendSrcAlpha);
    d.SetRenderState(RenderState::DestBlend, BlendInvSrcAlpha);
    d.Clear(Device::ClearTarget | Device::ClearZBuffer, 0, 1.0f);
    SetDirectionalLight(1, -1, 1, 0.5f, 0.5f, 0.5f, 0);
}

void Graphics::Free() {
    if (stopped) return;
    stopped = true;
    LogSeparator();
    Log("FreeDirect3D\n");
    Release();
}

void Graphics::Release() {
    if (!started) return;
    textureCache->Clear();
    devicePtr.reset();
    started = false;
}

void Graphics::SetDirectionalLight(float dx, float dy, float dz, float r, float g, float b, float a) {
    light.direction = Vec3Normalize({dx, dy, dz});
    light.diffuse = {r, g, b, a};
    if (!devicePtr) return;
    devicePtr->SetLight(light);
    devicePtr->LightEnable(true);
}

bool Graphics::BeginFrame(uint32_t color) {
    if (!devicePtr || !devicePtr->BeginScene()) return false;
    devicePtr->Clear(Device::ClearZBuffer | (color ? Device::ClearTarget : 0u), color, 1.0f);
    devicePtr->SetTransform(TransformType::View, view);
    MatrixInverse(view, cameraMatrix);
    screenMatrix = view * projection * viewportMatrix;
    MatrixInverse(screenMatrix, inverseScreenMatrix);
    return true;
}

void Graphics::SetUiScale(int scale) {
    uiScale = std::max(scale, 1);
    uiWidth = std::max(displayWidth / uiScale, 1);
    uiHeight = std::max(displayHeight / uiScale, 1);
    float w = float(uiWidth), h = float(uiHeight);
    viewportMatrix = {{{w / 2, 0, 0, 0}, {0, -h / 2, 0, 0}, {0, 0, 1, 0}, {w / 2, h / 2, 0, 1}}};
    screenMatrix = view * projection * viewportMatrix;
    MatrixInverse(screenMatrix, inverseScreenMatrix);
    if (devicePtr) devicePtr->SetScreenScale(uiScale);
}

bool Graphics::SetStepped(bool stepped) { return devicePtr && devicePtr->SetStepped(stepped); }

void Graphics::PresentPicture(float t, float pointerDx, float pointerDy) {
    if (devicePtr) devicePtr->PresentBetween(t, uiWidth, uiHeight, pointerDx, pointerDy);
}

void Graphics::EndFrame() {
    if (!devicePtr) return;
    devicePtr->EndScene();
    devicePtr->Present();
}
