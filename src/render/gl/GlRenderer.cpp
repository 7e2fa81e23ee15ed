#define GL_GLEXT_PROTOTYPES 1
#include "render/gl/GlRenderer.h"

#include "render/gl/GlEnums.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <vector>

unsigned GlCompare(uint32_t compare) {
    switch (compare) {
    case CmpNever: return GL_NEVER;
    case CmpLess: return GL_LESS;
    case CmpEqual: return GL_EQUAL;
    case CmpLessEqual: return GL_LEQUAL;
    case CmpGreater: return GL_GREATER;
    case CmpNotEqual: return GL_NOTEQUAL;
    case CmpGreaterEqual: return GL_GEQUAL;
    default: return GL_ALWAYS;
    }
}

unsigned GlBlendFactor(uint32_t blend) {
    switch (blend) {
    case BlendZero: return GL_ZERO;
    case BlendOne: return GL_ONE;
    case BlendSrcColor: return GL_SRC_COLOR;
    case BlendInvSrcColor: return GL_ONE_MINUS_SRC_COLOR;
    case BlendSrcAlpha: return GL_SRC_ALPHA;
    case BlendInvSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
    case BlendDestAlpha: return GL_DST_ALPHA;
    case BlendInvDestAlpha: return GL_ONE_MINUS_DST_ALPHA;
    case BlendDestColor: return GL_DST_COLOR;
    case BlendInvDestColor: return GL_ONE_MINUS_DST_COLOR;
    default: return GL_ONE;
    }
}

void GlApplyCull(uint32_t cull) {
    switch (cull) {
    case CullCW:
        glEnable(GL_CULL_FACE);
        glFrontFace(GL_CCW);
        glCullFace(GL_BACK);
        break;
    case CullCCW:
        glEnable(GL_CULL_FACE);
        glFrontFace(GL_CW);
        glCullFace(GL_BACK);
        break;
    default:
        glDisable(GL_CULL_FACE);
        break;
    }
}

void GlClear(uint32_t flags, uint32_t color, float z) {
    GLbitfield mask = 0;
    if (flags & Device::ClearTarget) {
        glClearColor(float((color >> 16) & 0xFF) / 255.0f, float((color >> 8) & 0xFF) / 255.0f,
                     float(color & 0xFF) / 255.0f, float(color >> 24) / 255.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & Device::ClearZBuffer) {
        glClearDepth(z);
        glDepthMask(GL_TRUE);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (mask) glClear(mask);
}

unsigned GlTextureName(const ListTexture* listTexture) {
    if (!listTexture) return 0;
    const ListTexture& texture = *listTexture;
    if (texture.gpuName) return texture.gpuName;
    // ARGB words become R, G, B, A bytes: the one upload format OpenGL and
    // OpenGL ES both take.
    std::vector<unsigned char> rgba(texture.argb.size() * 4);
    for (size_t i = 0; i < texture.argb.size(); ++i) {
        uint32_t c = texture.argb[i];
        rgba[i * 4] = (unsigned char)(c >> 16);
        rgba[i * 4 + 1] = (unsigned char)(c >> 8);
        rgba[i * 4 + 2] = (unsigned char)c;
        rgba[i * 4 + 3] = (unsigned char)(c >> 24);
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    // The game's images are pixel art: point sampling, as it was made for.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, texture.width, texture.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    texture.gpuName = name;
    return name;
}

void GlDeleteTexture(ListTexture& texture) {
    if (!texture.gpuName) return;
    GLuint name = texture.gpuName;
    glDeleteTextures(1, &name);
    texture.gpuName = 0;
}
