#include "render/SceneNode.h"

#include "render/Graphics.h"
#include "render/MeshResource.h"

void SceneNode::Init(const MeshResource* newMesh, float x, float y, float z, float newScale) {
    local = MatrixScaling(newScale, newScale, newScale);
    local.m[3][0] = x;
    local.m[3][1] = y;
    local.m[3][2] = z;
    scale = newScale;
    mesh = newMesh;
    visible = true;
    if (!mesh) return;
    const Vector3& m = mesh->boxMin;
    const Vector3& M = mesh->boxMax;
    corners = {Vector3{M.x, M.y, M.z}, Vector3{M.x, M.y, m.z}, Vector3{M.x, m.y, M.z}, Vector3{M.x, m.y, m.z},
               Vector3{m.x, M.y, M.z}, Vector3{m.x, M.y, m.z}, Vector3{m.x, m.y, M.z}, Vector3{m.x, m.y, m.z}};
}

Matrix SceneNode::GetWorldMatrix() const { return parent ? local * parent->GetWorldMatrix() : local; }

namespace {
Vector3 Row(const Matrix& m, int row) { return {m.m[row][0], m.m[row][1], m.m[row][2]}; }
} // namespace

Vector3 SceneNode::GetPosition() const { return Row(parent ? GetWorldMatrix() : local, 3); }
Vector3 SceneNode::GetRight() const { return Row(parent ? GetWorldMatrix() : local, 0); }
Vector3 SceneNode::GetUp() const { return Row(parent ? GetWorldMatrix() : local, 1); }
Vector3 SceneNode::GetForward() const { return Row(parent ? GetWorldMatrix() : local, 2); }

void SceneNode::SetPosition(const Vector3& position) {
    local.m[3][0] = position.x;
    local.m[3][1] = position.y;
    local.m[3][2] = position.z;
}

void SceneNode::ApplyLocal(const Matrix& transform) { local = transform * local; }

void SceneNode::SetScale(float s) {
    ApplyLocal(MatrixScaling(s / scale, s / scale, s / scale));
    scale = s;
}

void SceneNode::ScaleAxes(float sx, float sy, float sz) { ApplyLocal(MatrixScaling(sx / scale, sy / scale, sz / scale)); }
void SceneNode::RotateX(float angle) { ApplyLocal(MatrixRotationX(angle)); }
void SceneNode::RotateY(float angle) { ApplyLocal(MatrixRotationY(angle)); }
void SceneNode::RotateZ(float angle) { ApplyLocal(MatrixRotationZ(angle)); }
void SceneNode::RotateAxis(const Vector3& axis, float angle) { ApplyLocal(MatrixRotationAxis(axis, angle)); }

void SceneNode::SetOrientation(const Vector3& forward, const Vector3& up) {
    Vector3 f = Vec3Normalize(forward);
    Vector3 r = Vec3Normalize(Vec3Cross(up, f));
    Vector3 u = Vec3Normalize(Vec3Cross(f, r));
    const Vector3 rows[3] = {r, u, f};
    for (int i = 0; i < 3; ++i) {
        local.m[i][0] = rows[i].x;
        local.m[i][1] = rows[i].y;
        local.m[i][2] = rows[i].z;
        local.m[i][3] = 0;
    }
    local.m[3][3] = 1;
    float s = scale;
    scale = 1;
    SetScale(s);
}

void SceneNode::LookAt(const Vector3& target) { SetOrientation(target - GetPosition(), {0, 1, 0}); }

void SceneNode::Draw() const {
    if (mesh && visible) mesh->Draw(GetWorldMatrix(), tag);
}

void SceneNode::DrawFaded() const {
    if (mesh && visible) mesh->DrawFaded(GetWorldMatrix(), intensity, tag);
}

std::array<Vector3, 8> SceneNode::GetWorldCorners() const {
    Matrix world = GetWorldMatrix();
    std::array<Vector3, 8> out;
    for (size_t i = 0; i < corners.size(); ++i) out[i] = Vec3TransformCoord(corners[i], world);
    return out;
}

bool SceneNode::IsOnScreen(const Graphics& graphics) const {
    auto inside = [&](const Vector3& point) {
        Vector3 p = ProjectToScreen(graphics, point);
        return p.z >= 0 && p.y >= 0 && p.y <= float(graphics.uiHeight) && p.x >= 0 &&
               p.x <= float(graphics.uiWidth);
    };
    if (inside(GetPosition())) return true;
    for (const Vector3& corner : GetWorldCorners())
        if (inside(corner)) return true;
    return false;
}

bool SceneNode::RayHitsSphere(const Vector3& origin, const Vector3& direction) const {
    if (!mesh) return false;
    return SphereBoundProbe(GetPosition() + mesh->sphereCenter, mesh->sphereRadius * scale, origin, direction);
}

bool SceneNode::RayPickMesh(Vector3& hit, const Vector3& origin, const Vector3& direction,
                            std::array<Vector3, 3>* triangle) const {
    if (!mesh) return false;
    Matrix world = GetWorldMatrix();
    Vector3 position = Row(world, 3);
    Matrix inverse;
    if (!MatrixInverse(world, inverse)) {
        hit = {};
        return false;
    }
    Vector3 o = Vec3TransformNormal(origin, inverse) - Vec3TransformNormal(position, inverse);
    Vector3 d = Vec3TransformNormal(direction, inverse);
    Vector3 best{10000, 10000, 10000};
    bool found = false;
    const MeshData& geometry = mesh->Geometry();
    const auto& vertices = geometry.vertices;
    const auto& indices = geometry.indices;
    for (size_t i = 0; i + 2 < indices.size(); i += 3) {
        if (indices[i] >= vertices.size() || indices[i + 1] >= vertices.size() || indices[i + 2] >= vertices.size())
            continue;
        const Vector3& p0 = vertices[indices[i]].position;
        const Vector3& p1 = vertices[indices[i + 1]].position;
        const Vector3& p2 = vertices[indices[i + 2]].position;
        float t, u, v;
        if (!IntersectTriangle(o, d, p0, p1, p2, t, u, v)) continue;
        Vector3 h = p0 + (p1 - p0) * u + (p2 - p0) * v;
        if (Vec3Dot(h - o, d) < 0) continue;
        if (Vec3Length(h - o) < Vec3Length(best - o)) {
            best = h;
            found = true;
            if (triangle) *triangle = {p0, p1, p2};
        }
    }
    if (!found) {
        hit = {};
        return false;
    }
    hit = Vec3TransformNormal(best, world) + position;
    return true;
}

Vector3 ProjectToScreen(const Graphics& graphics, const Vector3& point) {
    Vector3 p = Vec3TransformCoord(point, graphics.screenMatrix);
    const Matrix& view = graphics.view;
    Vector3 forward{view.m[0][2], view.m[1][2], view.m[2][2]};
    p.z = Vec3Dot(point - CameraEye(view), forward) >= 0 ? 0.0f : -1.0f;
    return p;
}

Vector3 CameraEye(const Matrix& view) {
    Vector3 eye;
    float* out[3] = {&eye.x, &eye.y, &eye.z};
    for (int k = 0; k < 3; ++k)
        *out[k] = -(view.m[3][0] * view.m[k][0] + view.m[3][1] * view.m[k][1] + view.m[3][2] * view.m[k][2]);
    return eye;
}

void SetCamera(Graphics& graphics, const Vector3& eye, const Vector3& at, const Vector3& up) {
    graphics.view = MatrixLookAtLH(eye, at, up);
}

void TurnCameraTo(Graphics& graphics, const Vector3& at) {
    graphics.view = MatrixLookAtLH(CameraEye(graphics.view), at, {0, 1, 0});
}

void MoveCameraTo(Graphics& graphics, const Vector3& position) {
    Vector3 eye = CameraEye(graphics.view);
    Vector3 shift = eye - position;
    graphics.view = MatrixTranslation(shift.x, shift.y, shift.z) * graphics.view;
}
