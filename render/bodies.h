// The three turning double pyramids: model, spin and the depth-sorted,
// column-filled drawing of their faces.
#pragma once
#include <cstdint>

struct PlayerState;
struct MazeFloor;
struct Surface;

struct Vec3 {
  float x, y, z;
};
struct ProjectedCorner {
  float screenX, depth, screenY;
};
struct Face {
  int32_t a, b, c;
};

struct PointObject {
  int32_t present;
  int32_t visible;  // set by the wall pass
  float x, y;
  int32_t vertexCount;
  int32_t faceCount;
  Vec3 vertices[20];
  ProjectedCorner projected[20];
  Face faces[20];
  int32_t faceColour[20];
};

// The three crystals that float in the maze.
constexpr int kBodyCount = 3;
extern PointObject pointObjects[kBodyCount];
extern float spinAngle;

void initPointObjects();
void spinPointObjects();
// Turns every crystal's middle square to `angle` (radians) without moving the
// spin on: what spinPointObjects does before its step.
void placeSpinCorners(double angle);
// The spin's step each pass, radians.
constexpr float kSpinStep = 0.1f;
void drawPointObject(const PlayerState& player, const MazeFloor& cells, PointObject& object,
                     Surface* surface);
void fillTriangle(int x0, int y0, int z0, int x1, int y1, int z1, int x2, int y2, int z2, int colour,
                  Surface* surface);
