#include "tools/assetgen/shapes3d.h"

#include <cfloat>
#include <cmath>

Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

float length(Vec3 v) { return std::sqrt(dot(v, v)); }

Vec3 normalize(Vec3 v) {
  const float l = length(v);
  return l > 0.0f ? v * (1.0f / l) : v;
}

// Smallest positive root of a t^2 + 2 b t + c = 0, or -1.
static float nearRoot(float a, float b, float c) {
  const float disc = b * b - a * c;
  if (disc < 0.0f || a == 0.0f) return -1.0f;
  const float s = std::sqrt(disc);
  float t = (-b - s) / a;
  if (t > 0.0f) return t;
  t = (-b + s) / a;
  return t > 0.0f ? t : -1.0f;
}

bool hitEllipsoid(Vec3 origin, Vec3 dir, Vec3 centre, Vec3 radii, RayHit& hit) {
  // In the ellipsoid's scaled space it is the unit sphere.
  const Vec3 o{(origin.x - centre.x) / radii.x, (origin.y - centre.y) / radii.y,
               (origin.z - centre.z) / radii.z};
  const Vec3 d{dir.x / radii.x, dir.y / radii.y, dir.z / radii.z};
  const float t = nearRoot(dot(d, d), dot(o, d), dot(o, o) - 1.0f);
  if (t < 0.0f) return false;
  const Vec3 p = o + d * t;
  hit.t = t;
  hit.normal = normalize({p.x / radii.x, p.y / radii.y, p.z / radii.z});
  hit.edge = FLT_MAX;
  return true;
}

bool hitCapsule(Vec3 origin, Vec3 dir, Vec3 a, Vec3 b, float radius, RayHit& hit) {
  // The swept sphere: a cylinder between the end spheres, solved as in the usual closed form.
  const Vec3 ba = b - a, oa = origin - a;
  const float baba = dot(ba, ba), bard = dot(ba, dir), baoa = dot(ba, oa);
  const float rdoa = dot(dir, oa), oaoa = dot(oa, oa), rdrd = dot(dir, dir);
  const float qa = baba * rdrd - bard * bard;
  const float qb = baba * rdoa - baoa * bard;
  const float qc = baba * oaoa - baoa * baoa - radius * radius * baba;
  float best = FLT_MAX;
  Vec3 normal{0, 0, 0};
  const float tc = nearRoot(qa, qb, qc);
  if (tc > 0.0f) {
    const float y = baoa + tc * bard;
    if (y > 0.0f && y < baba) {
      best = tc;
      const Vec3 p = origin + dir * tc;
      normal = normalize(p - (a + ba * (y / baba)));
    }
  }
  for (const Vec3& end : {a, b}) {
    RayHit s{};
    if (hitEllipsoid(origin, dir, end, {radius, radius, radius}, s) && s.t < best) {
      best = s.t;
      normal = s.normal;
    }
  }
  if (best == FLT_MAX) return false;
  hit.t = best;
  hit.normal = normal;
  hit.edge = FLT_MAX;
  return true;
}

bool hitFrustum(Vec3 origin, Vec3 dir, float cx, float cy, float z0, float r0, float z1, float r1, float ax,
                float ay, RayHit& hit) {
  const Vec3 o{(origin.x - cx) / ax, (origin.y - cy) / ay, origin.z};
  const Vec3 d{dir.x / ax, dir.y / ay, dir.z};
  const float k = (r1 - r0) / (z1 - z0);
  const float base = r0 - k * z0;  // radius = base + k z
  float best = FLT_MAX;
  Vec3 normal{0, 0, 0};
  // Side: x^2 + y^2 = (base + k z)^2, both roots, keeping those within the height.
  const float rz = base + k * o.z;
  const float qa = d.x * d.x + d.y * d.y - k * k * d.z * d.z;
  const float qb = o.x * d.x + o.y * d.y - k * d.z * rz;
  const float qc = o.x * o.x + o.y * o.y - rz * rz;
  const float disc = qb * qb - qa * qc;
  if (disc >= 0.0f && qa != 0.0f) {
    const float s = std::sqrt(disc);
    for (float t : {(-qb - s) / qa, (-qb + s) / qa}) {
      const Vec3 p = o + d * t;
      if (t > 0.0f && t < best && p.z >= z0 && p.z <= z1 && base + k * p.z >= 0.0f) {
        best = t;
        const float r = base + k * p.z;
        normal = normalize({p.x / ax, p.y / ay, -k * r});
      }
    }
  }
  // Caps.
  if (d.z != 0.0f) {
    const float caps[2][2] = {{z0, r0}, {z1, r1}};
    for (int i = 0; i < 2; ++i) {
      const float t = (caps[i][0] - o.z) / d.z;
      const Vec3 p = o + d * t;
      if (t > 0.0f && t < best && p.x * p.x + p.y * p.y <= caps[i][1] * caps[i][1]) {
        best = t;
        normal = {0, 0, i == 0 ? -1.0f : 1.0f};
      }
    }
  }
  if (best == FLT_MAX) return false;
  hit.t = best;
  hit.normal = normal;
  hit.edge = FLT_MAX;
  return true;
}

bool hitConvex(Vec3 origin, Vec3 dir, const std::vector<Plane>& planes, RayHit& hit) {
  float tNear = -FLT_MAX, tFar = FLT_MAX;
  int entry = -1;
  for (size_t i = 0; i < planes.size(); ++i) {
    const float denom = dot(planes[i].normal, dir);
    const float dist = planes[i].offset - dot(planes[i].normal, origin);
    if (denom == 0.0f) {
      if (dist < 0.0f) return false;
      continue;
    }
    const float t = dist / denom;
    if (denom < 0.0f) {
      if (t > tNear) {
        tNear = t;
        entry = static_cast<int>(i);
      }
    } else if (t < tFar) {
      tFar = t;
    }
    if (tNear > tFar) return false;
  }
  if (entry < 0 || tNear <= 0.0f) return false;
  const Vec3 p = origin + dir * tNear;
  float edge = FLT_MAX;
  for (size_t i = 0; i < planes.size(); ++i) {
    if (static_cast<int>(i) == entry) continue;
    edge = std::fmin(edge, planes[i].offset - dot(planes[i].normal, p));
  }
  hit.t = tNear;
  hit.normal = planes[static_cast<size_t>(entry)].normal;
  hit.edge = edge;
  return true;
}
