// Ray tests against the few solids the generator models figures and gems
// with: ellipsoids, capsules, upright cone frustums and convex polyhedra.
// Rays are cast in parallel (orthographic views), so none of this needs to be fast per call.
#pragma once
#include <vector>

struct Vec3 {
  float x, y, z;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float k) { return {a.x * k, a.y * k, a.z * k}; }
inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 cross(Vec3 a, Vec3 b);
Vec3 normalize(Vec3 v);
float length(Vec3 v);

// Nearest entry point of a ray: t along the ray (direction as given), the outward
// normal there, and for polyhedra how far the point is from the nearest other face
// (used to darken facet edges; large for smooth solids).
struct RayHit {
  float t;
  Vec3 normal;
  float edge;
};

bool hitEllipsoid(Vec3 origin, Vec3 dir, Vec3 centre, Vec3 radii, RayHit& hit);
bool hitCapsule(Vec3 origin, Vec3 dir, Vec3 a, Vec3 b, float radius, RayHit& hit);
// An upright frustum about the vertical line through (cx, cy): radius r0 at
// height z0 to r1 at z1, with the cross-section stretched by (ax, ay), capped at both ends.
bool hitFrustum(Vec3 origin, Vec3 dir, float cx, float cy, float z0, float r0, float z1, float r1, float ax,
                float ay, RayHit& hit);

// A convex solid as the points p with dot(normal, p) <= offset for every plane.
struct Plane {
  Vec3 normal;
  float offset;
};
bool hitConvex(Vec3 origin, Vec3 dir, const std::vector<Plane>& planes, RayHit& hit);
