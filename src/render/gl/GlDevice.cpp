#define GL_GLEXT_PROTOTYPES 1
#include "render/gl/GlDevice.h"

#include "platform/Log.h"
#include "platform/Window.h"
#include "render/gl/GlBatchRenderer.h"
#include "render/gl/GlClassicRenderer.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdint>

namespace {
// Records per slice for a software rasteriser: three or four slices in a busy
// battle frame (about 8,000 draws).
constexpr size_t SoftwareSliceRecords = 2500;
} // namespace

GlDevice::GlDevice(Window* window, int width, int height, GlRendererKind kind)
    : window(window), width(width), height(height), kind(kind) {
    glGenFramebuffers(1, &framebuffer);
    glGenRenderbuffers(1, &colorBuffer);
    glGenRenderbuffers(1, &depthBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, colorBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        Log("OpenGL: framebuffer %d x %d is incomplete\n", width, height);
        glDeleteFramebuffers(1, &framebuffer);
        framebuffer = 0;
    }
    glViewport(0, 0, width, height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);

    if (kind == GlRendererKind::Batched) {
        // A software rasteriser draws on other threads: handing it the frame
        // in slices lets it start while the rest is still being prepared
        // (and, while the game still draws, while the game goes on).
        const bool software = IsSoftwareRenderer();
        if (software) RenderEvery(SoftwareSliceRecords);
        auto batched = std::make_unique<GlBatchRenderer>(software ? SoftwareSliceRecords : SIZE_MAX);
        if (batched->Ready()) renderer = std::move(batched);
    } else {
        renderer = std::make_unique<GlClassicRenderer>();
    }
    SetResourceListener(this);
}

GlDevice::~GlDevice() {
    SetResourceListener(nullptr);
    renderer.reset();
    if (framebuffer) glDeleteFramebuffers(1, &framebuffer);
    if (colorBuffer) glDeleteRenderbuffers(1, &colorBuffer);
    if (depthBuffer) glDeleteRenderbuffers(1, &depthBuffer);
}

std::string GlDevice::AdapterName() const {
    const char* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return name ? name : "";
}

bool GlDevice::IsSoftwareRenderer() const {
    std::string name = AdapterName();
    return name.find("llvmpipe") != std::string::npos || name.find("softpipe") != std::string::npos ||
           name.find("Software") != std::string::npos;
}

GlDevice::Caps GlDevice::QueryCaps() const {
    Caps caps;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &caps.maxTextureSize);
    glGetIntegerv(GL_MAX_ELEMENTS_INDICES, &caps.maxIndices);
    if (kind == GlRendererKind::Classic) {
        glGetIntegerv(GL_MAX_LIGHTS, &caps.maxLights);
        glGetIntegerv(GL_MAX_TEXTURE_UNITS, &caps.maxTextureUnits);
    } else {
        // The batched pipeline lights on the CPU: the fixed pipeline's eight
        // lights are the limit it stands in for.
        caps.maxLights = 8;
        glGetIntegerv(GL_MAX_TEXTURE_IMAGE_UNITS, &caps.maxTextureUnits);
    }
    while (glGetError() != GL_NO_ERROR) {
    }
    return caps;
}

bool GlDevice::BeginScene() {
    if (!Ready()) return false;
    return DrawListDevice::BeginScene();
}

void GlDevice::RenderList(const DrawList& drawList, DrawStats& frameStats) {
    if (!Ready()) return;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, width, height);
    renderer->Render(drawList, width, height, frameStats);
    glFlush();
}

void GlDevice::Render(const DrawList& drawList) {
    DrawStats ignored;
    RenderList(drawList, ignored);
}

void GlDevice::ShowPicture() {
    if (capture && framebuffer) {
        // The one copy the frame makes; the taker turns and encodes it later.
        CapturedPicture picture{width, height, std::vector<uint32_t>(size_t(width) * size_t(height))};
        ReadBack(picture.argbBottomUp);
        auto take = std::move(capture);
        capture = nullptr;
        take(std::move(picture));
    }
    if (!framebuffer || !window) return;
    int drawableWidth = 0, drawableHeight = 0;
    window->DrawableSize(drawableWidth, drawableHeight);
    // Fit the back buffer into the window keeping its shape: bars left and
    // right or above and below.
    float scale = std::min(float(drawableWidth) / float(width), float(drawableHeight) / float(height));
    int outWidth = int(std::lround(float(width) * scale));
    int outHeight = int(std::lround(float(height) * scale));
    int x = (drawableWidth - outWidth) / 2, y = (drawableHeight - outHeight) / 2;

    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glViewport(0, 0, drawableWidth, drawableHeight);
    if (outWidth != drawableWidth || outHeight != drawableHeight) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glBlitFramebuffer(0, 0, width, height, x, y, x + outWidth, y + outHeight, GL_COLOR_BUFFER_BIT,
                      outWidth == width && outHeight == height ? GL_NEAREST : GL_LINEAR);
    window->SwapBuffers();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, width, height);
}

void GlDevice::Forget(ListTexture& texture) { GlDeleteTexture(texture); }

void GlDevice::Forget(ListMesh& mesh) {
    if (renderer) renderer->Forget(mesh);
}

uint32_t GlDevice::ReadPixel(int x, int y) {
    if (x < 0 || y < 0 || x >= width || y >= height || !framebuffer) return 0;
    Flush();
    uint32_t pixel = 0;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    // OpenGL counts rows from the bottom; the game counts them from the top.
    glReadPixels(x, height - 1 - y, 1, 1, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, &pixel);
    return pixel;
}

bool GlDevice::CaptureNextPicture(std::function<void(CapturedPicture&&)> take) {
    if (!framebuffer) return false;
    capture = std::move(take);
    return true;
}

void GlDevice::ReadBack(std::span<uint32_t> argb) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, argb.data());
}

void GlDevice::ReadPixels(std::span<uint32_t> argb) {
    if (argb.size() < size_t(width) * size_t(height) || !framebuffer) return;
    Flush();
    ReadBack(argb);
    // Turn the rows so the first is the top one.
    for (int row = 0; row < height / 2; ++row)
        std::swap_ranges(argb.begin() + ptrdiff_t(row) * width, argb.begin() + ptrdiff_t(row + 1) * width,
                         argb.begin() + ptrdiff_t(height - 1 - row) * width);
}
