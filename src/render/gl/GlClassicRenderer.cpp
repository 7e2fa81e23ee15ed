#define GL_GLEXT_PROTOTYPES 1
#include "render/gl/GlClassicRenderer.h"

#include "render/Batcher.h"
#include "render/gl/GlEnums.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>
#include <cmath>

namespace {

void SetMaterialColor(GLenum target, const ColorValue& c) {
    const float values[4] = {c.r, c.g, c.b, c.a};
    glMaterialfv(GL_FRONT_AND_BACK, target, values);
}

} // namespace

GlClassicRenderer::GlClassicRenderer() = default;

void GlClassicRenderer::Forget(const ListMesh& mesh) {
    if (mesh.gpuVertexBuffer) glDeleteBuffers(1, &mesh.gpuVertexBuffer);
    if (mesh.gpuIndexBuffer) glDeleteBuffers(1, &mesh.gpuIndexBuffer);
    mesh.gpuVertexBuffer = mesh.gpuIndexBuffer = 0;
}

void GlClassicRenderer::ApplyStates(const RenderStateSet& wanted, DrawStats& stats) {
    for (size_t i = 0; i < wanted.size(); ++i) {
        uint32_t value = wanted[i];
        if (statesKnown && applied[i] == value) continue;
        applied[i] = value;
        ++stats.stateChanges;
        switch (RenderState(i)) {
        case RenderState::Lighting: value ? glEnable(GL_LIGHTING) : glDisable(GL_LIGHTING); break;
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
        case RenderState::CullMode: GlApplyCull(value); break;
        case RenderState::ZEnable: value ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST); break;
        case RenderState::ZWriteEnable: glDepthMask(value ? GL_TRUE : GL_FALSE); break;
        case RenderState::ZFunc: glDepthFunc(GlCompare(value)); break;
        case RenderState::AlphaBlendEnable:
        case RenderState::SrcBlend:
        case RenderState::DestBlend:
            wanted[size_t(RenderState::AlphaBlendEnable)] ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
            glBlendFunc(GlBlendFactor(wanted[size_t(RenderState::SrcBlend)]),
                        GlBlendFactor(wanted[size_t(RenderState::DestBlend)]));
            break;
        case RenderState::NormalizeNormals: value ? glEnable(GL_NORMALIZE) : glDisable(GL_NORMALIZE); break;
        case RenderState::Count: break;
        }
    }
    statesKnown = true;
}

void GlClassicRenderer::ApplyCamera(const DrawCamera& camera, DrawStats& stats) {
    view = camera.view;
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf((camera.projection * DepthRangeFix()).Data());
    // OpenGL places lights in eye space with the modelview in force: give it
    // the view alone so the direction stays a world direction.
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(view.Data());
    const DirectionalLight& light = camera.light;
    const float diffuse[4] = {light.diffuse.r, light.diffuse.g, light.diffuse.b, light.diffuse.a};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    const float towardsLight[4] = {-light.direction.x, -light.direction.y, -light.direction.z, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, towardsLight);
    camera.lightEnabled ? glEnable(GL_LIGHT0) : glDisable(GL_LIGHT0);
    stats.stateChanges += 5;
}

void GlClassicRenderer::ApplyMaterial(const Material& m, DrawStats& stats) {
    SetMaterialColor(GL_DIFFUSE, m.diffuse);
    SetMaterialColor(GL_AMBIENT, m.ambient);
    SetMaterialColor(GL_SPECULAR, m.specular);
    SetMaterialColor(GL_EMISSION, m.emissive);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(m.power, 0.0f, 128.0f));
    ++stats.stateChanges;
}

void GlClassicRenderer::ApplyTexture(const ListTexture* wanted, DrawStats& stats) {
    if (textureKnown && wanted == texture) return;
    if (wanted) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, GlTextureName(wanted));
    } else {
        glBindTexture(GL_TEXTURE_2D, 0);
        glDisable(GL_TEXTURE_2D);
    }
    texture = wanted;
    textureKnown = true;
    ++stats.stateChanges;
}

void GlClassicRenderer::DrawSubset(const ListMesh& mesh, uint32_t subset) {
    if (subset >= mesh.subsets.size() || mesh.subsets[subset].indexCount == 0) return;
    if (!mesh.gpuVertexBuffer) {
        glGenBuffers(1, &mesh.gpuVertexBuffer);
        glGenBuffers(1, &mesh.gpuIndexBuffer);
        glBindBuffer(GL_ARRAY_BUFFER, mesh.gpuVertexBuffer);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(mesh.vertices.size() * sizeof(MeshVertex)), mesh.vertices.data(),
                     GL_STATIC_DRAW);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.gpuIndexBuffer);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(mesh.indices.size() * sizeof(uint16_t)), mesh.indices.data(),
                     GL_STATIC_DRAW);
    }
    glBindBuffer(GL_ARRAY_BUFFER, mesh.gpuVertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.gpuIndexBuffer);
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

void GlClassicRenderer::DrawPrimitive(const DrawList& list, const DrawRecord& record, int width, int height) {
    const uint32_t fvf = record.fvf;
    const uint32_t stride = Fvf::Stride(fvf);
    const auto* bytes = list.vertexBytes.data() + record.item;
    const bool screenSpace = (fvf & Fvf::XyzRhw) != 0;
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
    if (fvf & Fvf::Diffuse) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, GLsizei(stride), bytes + offset);
        glEnable(GL_COLOR_MATERIAL);
        offset += 4;
    } else {
        glDisableClientState(GL_COLOR_ARRAY);
        glColor4f(1, 1, 1, 1);
    }
    if (fvf & (Fvf::Tex1 | Fvf::Tex2)) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, GLsizei(stride), bytes + offset);
    } else {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoord2f(0, 0);
    }

    const bool lighting = applied[size_t(RenderState::Lighting)] != 0;
    if (screenSpace) {
        // Screen pixels, y down, depth 0..1, never lit. The game puts pixel
        // centres on whole numbers; the small shift keeps rectangle edges off
        // OpenGL's pixel centres so each covers exactly its pixels.
        // A scaled screen: its pixels drawn as blocks of scale x scale.
        const int scale = list.cameras[record.camera].screenScale;
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0, double(width) / scale, double(height) / scale, 0, 0, -1);
        glTranslatef(0.375f / float(scale), 0.375f / float(scale), 0.0f);
        glLineWidth(float(scale));
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glDisable(GL_LIGHTING);
    }

    GLenum mode = GL_TRIANGLES;
    switch (record.primitive) {
    case PrimitiveType::LineList: mode = GL_LINES; break;
    case PrimitiveType::LineStrip: mode = GL_LINE_STRIP; break;
    case PrimitiveType::TriangleList: mode = GL_TRIANGLES; break;
    case PrimitiveType::TriangleFan: mode = GL_TRIANGLE_FAN; break;
    }
    glDrawArrays(mode, 0, GLsizei(Device::VertexCount(record.primitive, record.count)));

    if (screenSpace) {
        glLineWidth(1);
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

void GlClassicRenderer::BeginSprites(int width, int height, int scale) {
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
    glOrtho(0, double(width) / scale, double(height) / scale, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void GlClassicRenderer::DrawSprite(const SpriteDraw& sprite, const ListTexture& texture) {
    glBindTexture(GL_TEXTURE_2D, GlTextureName(&texture));
    const float w = float(sprite.source.right - sprite.source.left);
    const float h = float(sprite.source.bottom - sprite.source.top);
    const float u0 = float(sprite.source.left) / float(texture.width);
    const float v0 = float(sprite.source.top) / float(texture.height);
    const float u1 = float(sprite.source.right) / float(texture.width);
    const float v1 = float(sprite.source.bottom) / float(texture.height);
    // Scale, turn about the centre (given in scaled pixels), then place.
    const float c = std::cos(sprite.rotation), s = std::sin(sprite.rotation);
    auto corner = [&](float px, float py) {
        float x = px * sprite.scaleX - sprite.centerX;
        float y = py * sprite.scaleY - sprite.centerY;
        glVertex2f(x * c - y * s + sprite.centerX + sprite.x, x * s + y * c + sprite.centerY + sprite.y);
    };
    const uint32_t color = sprite.color;
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
}

void GlClassicRenderer::EndSprites() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

void GlClassicRenderer::Render(const DrawList& list, int width, int height, DrawStats& stats) {
    // Nothing of the OpenGL state is taken on trust: every part is set again
    // before the first draw that needs it.
    states = camera = world = material = UINT32_MAX;
    statesKnown = textureKnown = false;
    glUseProgram(0);
    glShadeModel(GL_SMOOTH);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    const float black[4] = {0, 0, 0, 1};
    glLightfv(GL_LIGHT0, GL_AMBIENT, black);
    glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glActiveTexture(GL_TEXTURE0);

    bool inSprites = false;
    for (const DrawRecord& record : list.records) {
        if (record.kind == DrawRecord::Kind::Sprite) {
            if (!inSprites) BeginSprites(width, height, list.cameras[record.camera].screenScale);
            inSprites = true;
            DrawSprite(list.sprites[record.item], *record.texture);
            ++stats.draws;
            continue;
        }
        if (inSprites) {
            EndSprites();
            inSprites = false;
            // The batch's own texture is gone; the next draw binds its own again.
            textureKnown = false;
        }
        if (record.states != states) {
            ApplyStates(list.states[record.states], stats);
            states = record.states;
        }
        if (record.camera != camera) {
            ApplyCamera(list.cameras[record.camera], stats);
            camera = record.camera;
            world = UINT32_MAX;
        }
        if (record.world != world) {
            glMatrixMode(GL_MODELVIEW);
            glLoadMatrixf((list.worlds[record.world] * view).Data());
            world = record.world;
            ++stats.stateChanges;
        }
        switch (record.kind) {
        case DrawRecord::Kind::Clear:
            GlClear(record.item, record.count, record.clearZ);
            glDepthMask(applied[size_t(RenderState::ZWriteEnable)] ? GL_TRUE : GL_FALSE);
            ++stats.draws;
            break;
        case DrawRecord::Kind::Subset:
        case DrawRecord::Kind::Primitive:
            if (record.material != material) {
                ApplyMaterial(list.materials[record.material], stats);
                material = record.material;
            }
            ApplyTexture(record.texture, stats);
            if (record.kind == DrawRecord::Kind::Subset) {
                DrawSubset(*record.mesh, record.item);
            } else {
                DrawPrimitive(list, record, width, height);
                // Colour tracking left the last vertex colour in the material.
                material = UINT32_MAX;
            }
            ++stats.draws;
            break;
        case DrawRecord::Kind::Sprite: break;
        }
    }
    if (inSprites) EndSprites();
}
