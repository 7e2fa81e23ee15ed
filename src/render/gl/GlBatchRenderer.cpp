#define GL_GLEXT_PROTOTYPES 1
#include "render/gl/GlBatchRenderer.h"

#include "platform/Log.h"
#include "render/gl/GlEnums.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

namespace {

// Written for the common ground of GLSL 3.30 and GLSL ES 3.00: the version
// line goes in front when the program is built.
constexpr const char* VertexSource = R"(
layout(location = 0) in vec4 position;
layout(location = 1) in vec4 color;
layout(location = 2) in vec2 uv;
out vec4 vertexColor;
out vec2 vertexUv;
void main() {
    vertexColor = color;
    vertexUv = uv;
    gl_Position = position;
}
)";

constexpr const char* FragmentSource = R"(
uniform sampler2D image;
uniform int textured;
in vec4 vertexColor;
in vec2 vertexUv;
layout(location = 0) out vec4 fragmentColor;
void main() {
    fragmentColor = textured != 0 ? vertexColor * texture(image, vertexUv) : vertexColor;
}
)";

std::string VersionLine() {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    bool es = version && std::strstr(version, "OpenGL ES") != nullptr;
    return es ? "#version 300 es\nprecision highp float;\n" : "#version 330 core\n";
}

GLuint Compile(GLenum type, const char* body) {
    std::string source = VersionLine() + body;
    const char* text = source.c_str();
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char reason[1024] = {};
        glGetShaderInfoLog(shader, sizeof reason - 1, nullptr, reason);
        Log("OpenGL: shader: %s\n", reason);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

} // namespace

GlBatchRenderer::GlBatchRenderer(size_t sliceRecords) : sliceRecords(std::max<size_t>(sliceRecords, 1)) {
    // Clears whatever an earlier call left, so the checks below are ours.
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint vertex = Compile(GL_VERTEX_SHADER, VertexSource);
    GLuint fragment = Compile(GL_FRAGMENT_SHADER, FragmentSource);
    if (!vertex || !fragment) {
        if (vertex) glDeleteShader(vertex);
        if (fragment) glDeleteShader(fragment);
        return;
    }
    GLuint built = glCreateProgram();
    glAttachShader(built, vertex);
    glAttachShader(built, fragment);
    glLinkProgram(built);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = GL_FALSE;
    glGetProgramiv(built, GL_LINK_STATUS, &ok);
    if (!ok) {
        char reason[1024] = {};
        glGetProgramInfoLog(built, sizeof reason - 1, nullptr, reason);
        Log("OpenGL: program: %s\n", reason);
        glDeleteProgram(built);
        return;
    }
    glUseProgram(built);
    glUniform1i(glGetUniformLocation(built, "image"), 0);
    texturedLocation = glGetUniformLocation(built, "textured");
    glUseProgram(0);
    program = built;
    StreamFor(0);
    if (glGetError() != GL_NO_ERROR) {
        Log("OpenGL: the batched renderer could not be set up\n");
        glDeleteProgram(built);
        program = 0;
    }
}

GlBatchRenderer::~GlBatchRenderer() {
    for (Stream& stream : streams) {
        glDeleteBuffers(1, &stream.vertexBuffer);
        glDeleteBuffers(1, &stream.indexBuffer);
        glDeleteVertexArrays(1, &stream.vertexArray);
    }
    if (program) glDeleteProgram(program);
}

GlBatchRenderer::Stream& GlBatchRenderer::StreamFor(size_t slice) {
    while (streams.size() <= slice) {
        Stream& stream = streams.emplace_back();
        glGenVertexArrays(1, &stream.vertexArray);
        glGenBuffers(1, &stream.vertexBuffer);
        glGenBuffers(1, &stream.indexBuffer);
        glBindVertexArray(stream.vertexArray);
        glBindBuffer(GL_ARRAY_BUFFER, stream.vertexBuffer);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, stream.indexBuffer);
        glEnableVertexAttribArray(0);
        glEnableVertexAttribArray(1);
        glEnableVertexAttribArray(2);
        constexpr GLsizei stride = sizeof(BatchVertex);
        glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(BatchVertex, x)));
        glVertexAttribPointer(1, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                              reinterpret_cast<const void*>(offsetof(BatchVertex, r)));
        glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(offsetof(BatchVertex, u)));
        glBindVertexArray(0);
    }
    return streams[slice];
}

void GlBatchRenderer::Apply(const Batch& batch, DrawStats& stats) {
    const BatchState& s = batch.state;
    const BatchState& was = current.state;
    const bool all = !current.known;
    auto toggle = [&](GLenum capability, bool on) {
        on ? glEnable(capability) : glDisable(capability);
        ++stats.stateChanges;
    };
    if (all || s.depthTest != was.depthTest) toggle(GL_DEPTH_TEST, s.depthTest);
    if (all || s.depthFunc != was.depthFunc) {
        glDepthFunc(GlCompare(s.depthFunc));
        ++stats.stateChanges;
    }
    if (all || s.depthWrite != was.depthWrite) {
        glDepthMask(s.depthWrite ? GL_TRUE : GL_FALSE);
        ++stats.stateChanges;
    }
    if (all || s.blend != was.blend) toggle(GL_BLEND, s.blend);
    if (s.blend && (all || s.srcBlend != was.srcBlend || s.destBlend != was.destBlend)) {
        glBlendFunc(GlBlendFactor(s.srcBlend), GlBlendFactor(s.destBlend));
        ++stats.stateChanges;
    }
    if (all || s.cull != was.cull) {
        GlApplyCull(s.cull);
        ++stats.stateChanges;
    }
    current.state = s;

    const bool textured = batch.texture != nullptr;
    if (all || textured != current.textured) {
        glUniform1i(texturedLocation, textured ? 1 : 0);
        current.textured = textured;
        ++stats.stateChanges;
    }
    if (textured) {
        unsigned name = GlTextureName(batch.texture);
        if (all || name != current.texture) {
            glBindTexture(GL_TEXTURE_2D, name);
            current.texture = name;
            ++stats.stateChanges;
        }
    }
    current.known = true;
}

void GlBatchRenderer::Upload(unsigned target, unsigned buffer, size_t& capacity, const void* data, size_t bytes) {
    glBindBuffer(target, buffer);
    if (bytes > capacity) {
        capacity = std::max(bytes + bytes / 2, size_t(1) << 20);
        glBufferData(target, GLsizeiptr(capacity), nullptr, GL_DYNAMIC_DRAW);
    }
    if (bytes) glBufferSubData(target, 0, GLsizeiptr(bytes), data);
}

void GlBatchRenderer::Render(const DrawList& list, int width, int height, DrawStats& stats) {
    if (!program) return;
    current.known = false;
    glUseProgram(program);
    glActiveTexture(GL_TEXTURE0);
    const size_t records = list.records.size();
    for (size_t first = 0, slice = 0; first < records; first += sliceRecords, ++slice) {
        BuildBatches(list, first, sliceRecords, width, height, frame);
        stats.culled += frame.culled;
        stats.triangles += frame.triangles;
        stats.vertices += uint32_t(frame.vertices.size());
        if (frame.batches.empty()) continue;
        // One upload of each array for the slice, into storage kept from
        // frame to frame (a new allocation every frame costs more than the copy).
        Stream& stream = StreamFor(slice);
        glBindVertexArray(stream.vertexArray);
        Upload(GL_ARRAY_BUFFER, stream.vertexBuffer, stream.vertexCapacity, frame.vertices.data(),
               frame.vertices.size() * sizeof(BatchVertex));
        Upload(GL_ELEMENT_ARRAY_BUFFER, stream.indexBuffer, stream.indexCapacity, frame.indices.data(),
               frame.indices.size() * sizeof(uint32_t));
        for (const Batch& batch : frame.batches) {
            if (batch.mode == Batch::Mode::Clear) {
                GlClear(batch.clearFlags, batch.clearColor, batch.clearZ);
                // Clearing wrote the depth mask; say so.
                current.known = false;
                ++stats.draws;
                continue;
            }
            Apply(batch, stats);
            glDrawElements(batch.mode == Batch::Mode::Lines ? GL_LINES : GL_TRIANGLES, GLsizei(batch.indexCount),
                           GL_UNSIGNED_INT, reinterpret_cast<const void*>(size_t(batch.firstIndex) * sizeof(uint32_t)));
            ++stats.draws;
        }
        // The rasteriser starts on this slice while the next one is built.
        if (first + sliceRecords < records) glFlush();
    }
    glBindVertexArray(0);
    glUseProgram(0);
}
