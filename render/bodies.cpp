// placeholder until the bodies land
#include "render/bodies.h"
PointObject pointObjects[3];
float spinAngle = 0.0f;
void initPointObjects() {}
void spinPointObjects() {}
void drawPointObject(const PlayerState&, const MazeFloor&, PointObject&, Surface*) {}
void fillTriangle(int, int, int, int, int, int, int, int, int, int, Surface*) {}
