#include "platform/Log.h"
#include "render/MeshData.h"
#include "render/XFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// Every mesh in the tree, nested ones included, goes through extraction and
// preparation: the game only loads top-level meshes, but the reader must be
// safe on all of them.
void PrepareAll(const XFile& file, const std::vector<XObject>& objects) {
    for (const XObject& object : objects) {
        if (object.type == "Mesh") {
            XMesh source;
            XError error;
            if (ExtractMesh(file, object, source, error)) {
                MeshData mesh;
                std::string buildError;
                if (BuildMeshData(source, mesh, buildError)) OptimizeMesh(mesh);
            }
        }
        PrepareAll(file, object.children);
    }
}

void Run(std::string_view text) {
    MeshData mesh;
    LoadMeshFromX("FUZZ", text, mesh);
    XFile file;
    XError error;
    if (ParseXFile(text, file, error)) PrepareAll(file, file.objects);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::string log;
    SetLogCapture(&log);
    log.clear();
    std::string_view input(reinterpret_cast<const char*>(data), size);
    Run(input);
    // Most mutations break the header; also read the input as the body of a
    // valid one, so the fuzzer spends its time inside the parser.
    Run("xof 0302txt 0032\n" + std::string(input));
    return 0;
}
