#include "render/gl/GlDevice.h"

#include "platform/Window.h"

#include <GL/gl.h>

GlDevice::GlDevice(Window& window) : window(window) {}

bool GlDevice::BeginScene() {
    int width = 0, height = 0;
    window.DrawableSize(width, height);
    glViewport(0, 0, width, height);
    return true;
}

void GlDevice::Clear(uint32_t flags, uint32_t color, float z) {
    GLbitfield mask = 0;
    if (flags & ClearTarget) {
        glClearColor(float((color >> 16) & 0xFF) / 255.0f, float((color >> 8) & 0xFF) / 255.0f,
                     float(color & 0xFF) / 255.0f, float(color >> 24) / 255.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & ClearZBuffer) {
        glClearDepth(z);
        glDepthMask(GL_TRUE);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (mask) glClear(mask);
}

void GlDevice::Present() { window.SwapBuffers(); }

uint32_t GlDevice::ReadPixel(int x, int y) const {
    int width = 0, height = 0;
    window.DrawableSize(width, height);
    unsigned char rgba[4] = {};
    glReadBuffer(GL_BACK);
    // GL counts rows from the bottom; the game counts them from the top.
    glReadPixels(x, height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return uint32_t(rgba[3]) << 24 | uint32_t(rgba[0]) << 16 | uint32_t(rgba[1]) << 8 | rgba[2];
}
