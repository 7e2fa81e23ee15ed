#define GL_GLEXT_PROTOTYPES 1
#include "render/gl/GlDevice.h"

#include "platform/Log.h"
#include "platform/Window.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

class GlTexture : public DeviceTexture {
public:
    GlTexture(int w, int h, GLuint name) : DeviceTexture(w, h), name(name) {}
    ~GlTexture() override { glDeleteTextures(1, &name); }
    GLuint name;
};

class GlMesh : public DeviceMesh {
public:
    ~GlMesh() override {
        glDeleteBuffers(1, &vertexBuffer);
        glDeleteBuffers(1, &indexBuffer);
    }
    GLuint vertexBuffer = 0, indexBuffer = 0;
    std::vector<IndexRange> subsets;
};

GLenum BlendFactor(uint32_t blend) {
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

GLenum CompareFunction(uint32_t compare) {
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

void SetColor(GLenum target, const ColorValue& c) {
    const float values[4] = {c.r, c.g, c.b, c.a};
    glMaterialfv(GL_FRONT_AND_BACK, target, values);
}

// The projection of the game maps depth to 0..1; OpenGL wants -1..1.
const Matrix depthRangeFix = [] {
    Matrix m = MatrixIdentity();
    m.m[2][2] = 2.0f;
    m.m[3][2] = -1.0f;
    return m;
}();

} // namespace

GlDevice::GlDevice(Window& window, int width, int height) : window(window), width(width), height(height) {
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

    // Fixed parts of the pipeline that no render state of the game changes.
    glEnable(GL_LIGHT0);
    glShadeModel(GL_SMOOTH);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    const float black[4] = {0, 0, 0, 1};
    glLightfv(GL_LIGHT0, GL_AMBIENT, black);
    glLightfv(GL_LIGHT0, GL_SPECULAR, black);
    glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);

    states[size_t(RenderState::Lighting)] = 1;
    states[size_t(RenderState::CullMode)] = CullCCW;
    states[size_t(RenderState::ZEnable)] = 1;
    states[size_t(RenderState::ZWriteEnable)] = 1;
    states[size_t(RenderState::ZFunc)] = CmpLessEqual;
    states[size_t(RenderState::SrcBlend)] = BlendOne;
    states[size_t(RenderState::DestBlend)] = BlendZero;
    for (size_t i = 0; i < states.size(); ++i) SetRenderState(RenderState(i), states[i]);
    SetTransform(TransformType::Projection, MatrixIdentity());
}

GlDevice::~GlDevice() {
    if (framebuffer) glDeleteFramebuffers(1, &framebuffer);
    if (colorBuffer) glDeleteRenderbuffers(1, &colorBuffer);
    if (depthBuffer) glDeleteRenderbuffers(1, &depthBuffer);
}

std::string GlDevice::AdapterName() const {
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return renderer ? renderer : "";
}

bool GlDevice::IsSoftwareRenderer() const {
    std::string name = AdapterName();
    return name.find("llvmpipe") != std::string::npos || name.find("softpipe") != std::string::npos ||
           name.find("Software") != std::string::npos;
}

GlDevice::Caps GlDevice::QueryCaps() const {
    Caps caps;
    glGetIntegerv(GL_MAX_LIGHTS, &caps.maxLights);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &caps.maxTextureSize);
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &caps.maxTextureUnits);
    glGetIntegerv(GL_MAX_ELEMENTS_INDICES, &caps.maxIndices);
    return caps;
}

bool GlDevice::BeginScene() {
    if (!framebuffer) return false;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
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
        // Clearing ignores the depth mask in the original API, not in OpenGL.
        glDepthMask(GL_TRUE);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (mask) glClear(mask);
    glDepthMask(states[size_t(RenderState::ZWriteEnable)] ? GL_TRUE : GL_FALSE);
}

void GlDevice::Present() {
    if (!framebuffer) return;
    int drawableWidth = 0, drawableHeight = 0;
    window.DrawableSize(drawableWidth, drawableHeight);
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
    window.SwapBuffers();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, width, height);
}

void GlDevice::ApplyModelView() {
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf((world * view).Data());
}

void GlDevice::ApplyLightDirection() {
    // OpenGL places lights in eye space with the modelview in force: give it
    // the view alone so the direction stays a world direction.
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(view.Data());
    const float towardsLight[4] = {-light.direction.x, -light.direction.y, -light.direction.z, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, towardsLight);
    ApplyModelView();
}

void GlDevice::SetTransform(TransformType type, const Matrix& matrix) {
    switch (type) {
    case TransformType::World:
        world = matrix;
        ApplyModelView();
        break;
    case TransformType::View:
        view = matrix;
        ApplyLightDirection();
        break;
    case TransformType::Projection:
        projection = matrix;
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf((projection * depthRangeFix).Data());
        glMatrixMode(GL_MODELVIEW);
        break;
    }
}

void GlDevice::ApplyBlend() {
    if (states[size_t(RenderState::AlphaBlendEnable)])
        glEnable(GL_BLEND);
    else
        glDisable(GL_BLEND);
    glBlendFunc(BlendFactor(states[size_t(RenderState::SrcBlend)]), BlendFactor(states[size_t(RenderState::DestBlend)]));
}

void GlDevice::ApplyCull() {
    // The game's front faces wind clockwise as the player sees them; OpenGL
    // names the winding as the player sees it too (y up in its window space).
    // Culling counter-clockwise faces keeps the clockwise ones: GL_CW in front.
    switch (states[size_t(RenderState::CullMode)]) {
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

void GlDevice::SetRenderState(RenderState state, uint32_t value) {
    if (state >= RenderState::Count) return;
    states[size_t(state)] = value;
    switch (state) {
    case RenderState::Lighting:
        lighting = value != 0;
        if (lighting)
            glEnable(GL_LIGHTING);
        else
            glDisable(GL_LIGHTING);
        break;
    case RenderState::Ambient: {
        const float ambient[4] = {float((value >> 16) & 0xFF) / 255.0f, float((value >> 8) & 0xFF) / 255.0f,
                                  float(value & 0xFF) / 255.0f, float(value >> 24) / 255.0f};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
        break;
    }
    case RenderState::SpecularEnable: {
        const float specular[4] = {value ? 1.0f : 0.0f, value ? 1.0f : 0.0f, value ? 1.0f : 0.0f, 1.0f};
        glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
        break;
    }
    case RenderState::CullMode: ApplyCull(); break;
    case RenderState::ZEnable:
        if (value)
            glEnable(GL_DEPTH_TEST);
        else
            glDisable(GL_DEPTH_TEST);
        break;
    case RenderState::ZWriteEnable: glDepthMask(value ? GL_TRUE : GL_FALSE); break;
    case RenderState::ZFunc: glDepthFunc(CompareFunction(value)); break;
    case RenderState::AlphaBlendEnable:
    case RenderState::SrcBlend:
    case RenderState::DestBlend: ApplyBlend(); break;
    case RenderState::NormalizeNormals:
        if (value)
            glEnable(GL_NORMALIZE);
        else
            glDisable(GL_NORMALIZE);
        break;
    case RenderState::Count: break;
    }
}

void GlDevice::SetLight(const DirectionalLight& newLight) {
    light = newLight;
    const float diffuse[4] = {light.diffuse.r, light.diffuse.g, light.diffuse.b, light.diffuse.a};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    ApplyLightDirection();
}

void GlDevice::LightEnable(bool enable) {
    if (enable)
        glEnable(GL_LIGHT0);
    else
        glDisable(GL_LIGHT0);
}

void GlDevice::SetMaterial(const Material& material) {
    SetColor(GL_DIFFUSE, material.diffuse);
    SetColor(GL_AMBIENT, material.ambient);
    SetColor(GL_SPECULAR, material.specular);
    SetColor(GL_EMISSION, material.emissive);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(material.power, 0.0f, 128.0f));
}

void GlDevice::SetTexture(DeviceTexture* texture) {
    if (texture) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, static_cast<GlTexture*>(texture)->name);
    } else {
        glBindTexture(GL_TEXTURE_2D, 0);
        glDisable(GL_TEXTURE_2D);
    }
}

std::unique_ptr<DeviceTexture> GlDevice::CreateTexture(int w, int h, std::span<const uint32_t> argb) {
    if (w <= 0 || h <= 0 || argb.size() < size_t(w) * size_t(h)) return nullptr;
    GLuint name = 0;
    glGenTextures(1, &name);
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, name);
    // The game's images are pixel art: point sampling, as it was made for.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    // ARGB words in memory are BGRA bytes on this machine: upload them as they are.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, argb.data());
    glBindTexture(GL_TEXTURE_2D, GLuint(previous));
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &name);
        return nullptr;
    }
    return std::make_unique<GlTexture>(w, h, name);
}

std::unique_ptr<DeviceMesh> GlDevice::CreateMesh(std::span<const MeshVertex> vertices, std::span<const uint16_t> indices,
                                                 std::span<const IndexRange> subsets) {
    for (const IndexRange& subset : subsets)
        if (size_t(subset.firstIndex) + subset.indexCount > indices.size()) return nullptr;
    auto mesh = std::make_unique<GlMesh>();
    glGenBuffers(1, &mesh->vertexBuffer);
    glGenBuffers(1, &mesh->indexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, mesh->vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size_bytes()), vertices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh->indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size_bytes()), indices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    mesh->subsets.assign(subsets.begin(), subsets.end());
    mesh->subsetCount = subsets.size();
    return mesh;
}

void GlDevice::DrawSubset(DeviceMesh& deviceMesh, size_t subset) {
    auto& mesh = static_cast<GlMesh&>(deviceMesh);
    if (subset >= mesh.subsets.size() || mesh.subsets[subset].indexCount == 0) return;
    glBindBuffer(GL_ARRAY_BUFFER, mesh.vertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.indexBuffer);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisable(GL_COLOR_MATERIAL);
    // Unlit meshes take white, as the original pipeline does without vertex colours.
    glColor4f(1, 1, 1, 1);
    glVertexPointer(3, GL_FLOAT, sizeof(MeshVertex), reinterpret_cast<const void*>(offsetof(MeshVertex, position)));
    glNormalPointer(GL_FLOAT, sizeof(MeshVertex), reinterpret_cast<const void*>(offsetof(MeshVertex, normal)));
    glTexCoordPointer(2, GL_FLOAT, sizeof(MeshVertex), reinterpret_cast<const void*>(offsetof(MeshVertex, u)));
    const IndexRange& range = mesh.subsets[subset];
    glDrawElements(GL_TRIANGLES, GLsizei(range.indexCount), GL_UNSIGNED_SHORT,
                   reinterpret_cast<const void*>(size_t(range.firstIndex) * sizeof(uint16_t)));
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

void GlDevice::DrawPrimitive(PrimitiveType type, uint32_t fvf, const void* vertices, uint32_t primitiveCount) {
    uint32_t stride = Fvf::Stride(fvf);
    if (!stride || !vertices || primitiveCount == 0) return;
    const auto* bytes = static_cast<const unsigned char*>(vertices);
    bool screenSpace = (fvf & Fvf::XyzRhw) != 0;
    size_t offset = screenSpace ? 16 : 12;

    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, GLsizei(stride), bytes);
    if (fvf & Fvf::Normal) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, GLsizei(stride), bytes + offset);
        offset += 12;
    } else {
        glDisableClientState(GL_NORMAL_ARRAY);
        glNormal3f(0, 0, -1);
    }
    // Vertex colours stand in for the material's diffuse colour when lit.
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, GLsizei(stride), bytes + offset);
    glEnable(GL_COLOR_MATERIAL);
    offset += 4;
    if (fvf & (Fvf::Tex1 | Fvf::Tex2)) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, GLsizei(stride), bytes + offset);
    } else {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }

    if (screenSpace) {
        // Screen pixels, y down, depth 0..1, never lit. The game puts pixel
        // centres on whole numbers; the small shift keeps rectangle edges off
        // OpenGL's pixel centres so each covers exactly its pixels.
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0, width, height, 0, 0, -1);
        glTranslatef(0.375f, 0.375f, 0.0f);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glDisable(GL_LIGHTING);
    }

    GLenum mode = GL_TRIANGLES;
    switch (type) {
    case PrimitiveType::LineList: mode = GL_LINES; break;
    case PrimitiveType::LineStrip: mode = GL_LINE_STRIP; break;
    case PrimitiveType::TriangleList: mode = GL_TRIANGLES; break;
    case PrimitiveType::TriangleFan: mode = GL_TRIANGLE_FAN; break;
    }
    glDrawArrays(mode, 0, GLsizei(VertexCount(type, primitiveCount)));

    if (screenSpace) {
        if (lighting) glEnable(GL_LIGHTING);
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
    }
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisable(GL_COLOR_MATERIAL);
}

void GlDevice::BeginSprites() {
    if (inSprites) return;
    inSprites = true;
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_TEXTURE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void GlDevice::DrawSprite(const SpriteDraw& sprite) {
    if (!sprite.texture) return;
    bool bracket = !inSprites;
    if (bracket) BeginSprites();
    auto* texture = static_cast<GlTexture*>(sprite.texture);
    glBindTexture(GL_TEXTURE_2D, texture->name);
    float w = float(sprite.source.right - sprite.source.left);
    float h = float(sprite.source.bottom - sprite.source.top);
    float u0 = float(sprite.source.left) / float(texture->width);
    float v0 = float(sprite.source.top) / float(texture->height);
    float u1 = float(sprite.source.right) / float(texture->width);
    float v1 = float(sprite.source.bottom) / float(texture->height);

    // Scale, turn about the centre (given in scaled pixels), then place.
    float c = std::cos(sprite.rotation), s = std::sin(sprite.rotation);
    auto corner = [&](float px, float py) {
        float x = px * sprite.scaleX - sprite.centerX;
        float y = py * sprite.scaleY - sprite.centerY;
        glVertex2f(x * c - y * s + sprite.centerX + sprite.x, x * s + y * c + sprite.centerY + sprite.y);
    };
    uint32_t color = sprite.color;
    glColor4ub(GLubyte(color >> 16), GLubyte(color >> 8), GLubyte(color), GLubyte(color >> 24));
    glBegin(GL_QUADS);
    glTexCoord2f(u0, v0);
    corner(0, 0);
    glTexCoord2f(u0, v1);
    corner(0, h);
    glTexCoord2f(u1, v1);
    corner(w, h);
    glTexCoord2f(u1, v0);
    corner(w, 0);
    glEnd();
    if (bracket) EndSprites();
}

void GlDevice::EndSprites() {
    if (!inSprites) return;
    inSprites = false;
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    // Back to the state found by BeginSprites, the texture of stage 0 included.
    glPopAttrib();
}

uint32_t GlDevice::ReadPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height || !framebuffer) return 0;
    uint32_t pixel = 0;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    // OpenGL counts rows from the bottom; the game counts them from the top.
    glReadPixels(x, height - 1 - y, 1, 1, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, &pixel);
    return pixel;
}

void GlDevice::ReadPixels(std::span<uint32_t> argb) const {
    if (argb.size() < size_t(width) * size_t(height) || !framebuffer) return;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, argb.data());
    // Turn the rows so the first is the top one.
    for (int row = 0; row < height / 2; ++row)
        std::swap_ranges(argb.begin() + ptrdiff_t(row) * width, argb.begin() + ptrdiff_t(row + 1) * width,
                         argb.begin() + ptrdiff_t(height - 1 - row) * width);
}
