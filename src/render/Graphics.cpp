#include "render/Graphics.h"

#include "platform/CommandLine.h"
#include "platform/Log.h"
#include "platform/MessageBox.h"
#include "platform/Window.h"
#include "render/gl/GlDevice.h"

Graphics::Graphics(Window& window, const CommandLine& commandLine, int configuredWindowed, int width, int height)
    : windowed(configuredWindowed), displayWidth(width), displayHeight(height), window(window),
      commandLine(commandLine) {}

Graphics::~Graphics() { Free(); }

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

bool Graphics::Init() {
    LogSeparator();
    Log("InitDirect3D\n");
    std::string decision;
    windowed = ChooseWindowed(commandLine, windowed, decision);
    Log("ウインドウ化 = %s", decision.c_str());

    if (!window.CreateGlContext()) {
        ShowErrorBox("エラー", "Direct3Dの初期化に失敗しました.");
        return false;
    }
    window.Show(!windowed);
    devicePtr = std::make_unique<GlDevice>(window);
    started = true;
    return true;
}

void Graphics::Free() {
    if (!started) return;
    LogSeparator();
    Log("FreeDirect3D\n");
    devicePtr.reset();
    started = false;
}

bool Graphics::BeginFrame(uint32_t color) {
    if (!devicePtr || !devicePtr->BeginScene()) return false;
    devicePtr->Clear(Device::ClearZBuffer | (color ? Device::ClearTarget : 0u), color, 1.0f);
    return true;
}

void Graphics::EndFrame() {
    if (!devicePtr) return;
    devicePtr->EndScene();
    devicePtr->Present();
}
