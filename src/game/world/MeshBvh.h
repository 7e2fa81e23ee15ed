#pragma once

#include "render/Math.h"

#include <cstdint>
#include <vector>

struct MeshData;

// A bounding-volume hierarchy over a mesh's triangles, so that a ray meets a
// station's collision mesh in a few box tests instead of one test per
// triangle. Pick gives exactly the answer of SceneNode::RayPickMesh (same
// arithmetic, same nearest triangle, the earlier triangle on a tie): only the
// order in which triangles are tried differs. Built once per mesh, read-only
// afterwards.
class MeshBvh {
public:
    explicit MeshBvh(const MeshData& geometry);

    // The nearest front-facing triangle ahead of the ray, for a node whose
    // world matrix is `world`; false when the ray meets none.
    bool Pick(const Matrix& world, Vector3& hit, const Vector3& origin, const Vector3& direction) const;

    size_t TriangleCount() const { return triangles.size(); }
    size_t NodeCount() const { return nodes.size(); }

private:
    struct Triangle {
        Vector3 p0, p1, p2;
        // Position in the mesh's index list: decides ties like the plain scan.
        uint32_t index;
    };
    struct Node {
        Vector3 boxMin, boxMax;
        // A leaf holds triangles [first, first + count); an inner node has
        // count 0 and its children at first and first + 1.
        uint32_t first = 0;
        uint32_t count = 0;
    };

    // Fills node `self` with triangles [first, first + count), splitting as needed.
    void Build(uint32_t self, uint32_t first, uint32_t count);

    std::vector<Triangle> triangles;
    std::vector<Node> nodes;
};
