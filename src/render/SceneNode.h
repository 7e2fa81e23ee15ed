#pragma once

#include "render/Math.h"

#include <array>
#include <cstdint>

class Graphics;
class MeshResource;

// A model placed in the world: every visible object and every unit position
// goes through one. The local matrix's rows 0..2 are the node's right, up and
// forward axes scaled by its scale; row 3 is its position. With a parent the
// local matrix is relative to the parent's world matrix. Transforms stand on
// the left of the local matrix, so they act in the node's own frame and leave
// the position alone.
class SceneNode {
public:
    SceneNode() = default;
    virtual ~SceneNode() = default;

    // Gives the node a loaded mesh, a position and a uniform scale, unrotated,
    // and makes it visible. The parent is kept.
    void Init(const MeshResource* mesh, float x, float y, float z, float scale);

    Matrix GetWorldMatrix() const;
    Vector3 GetPosition() const;
    // World axes, as long as the scale in force (not normalised).
    Vector3 GetRight() const;
    Vector3 GetUp() const;
    Vector3 GetForward() const;

    void SetPosition(const Vector3& position);
    // Rescales the axes to length s; position unchanged.
    void SetScale(float s);
    // Gives the axes lengths sx, sy, sz (from length scale); the scale field stays.
    void ScaleAxes(float sx, float sy, float sz);
    // Turns about the node's own axes.
    void RotateX(float angle);
    void RotateY(float angle);
    void RotateZ(float angle);
    void RotateAxis(const Vector3& axis, float angle);
    // Forward along the given direction, up as near the given up as it can be.
    // Forward parallel to up, or a zero vector, gives no defined result.
    void SetOrientation(const Vector3& forward, const Vector3& up);
    void LookAt(const Vector3& target);

    virtual void Draw() const;
    void DrawFaded() const;

    std::array<Vector3, 8> GetWorldCorners() const;
    // Whether the centre, or else any box corner, is in front of the camera
    // and inside the screen (bounds inclusive).
    bool IsOnScreen(const Graphics& graphics) const;
    // The ray against the bounding sphere (centre offset added unrotated).
    bool RayHitsSphere(const Vector3& origin, const Vector3& direction) const;
    // The nearest front-facing triangle of the mesh ahead of the ray's origin.
    bool RayPickMesh(Vector3& hit, const Vector3& origin, const Vector3& direction,
                     std::array<Vector3, 3>* triangle = nullptr) const;

    // Not owned.
    const MeshResource* mesh = nullptr;
    // Not owned; the local matrix is relative to it.
    const SceneNode* parent = nullptr;
    Matrix local = MatrixIdentity();
    // Uniform scale in the axis rows.
    float scale = 1.0f;
    // Alpha multiplier for DrawFaded.
    float intensity = 0.5f;
    bool visible = false;
    // What its draws belong to (MakeDrawTag), 0 for nobody.
    uint64_t tag = 0;
    // The mesh's box corners in model space, in a fixed order.
    std::array<Vector3, 8> corners{};

private:
    void ApplyLocal(const Matrix& transform);
};

// A point on the screen: x, y in pixels from the top left; z = 0 in front of
// the camera, -1 behind it. Uses the matrices of the last BeginFrame.
Vector3 ProjectToScreen(const Graphics& graphics, const Vector3& point);

// The camera's eye, read back from a view matrix.
Vector3 CameraEye(const Matrix& view);
void SetCamera(Graphics& graphics, const Vector3& eye, const Vector3& at, const Vector3& up);
// Turns the camera towards at, keeping its eye and world up.
void TurnCameraTo(Graphics& graphics, const Vector3& at);
// Moves the eye to position, keeping the orientation.
void MoveCameraTo(Graphics& graphics, const Vector3& position);
