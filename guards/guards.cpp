// placeholder until guard behaviour lands
#include "guards/guards.h"
Guard guards[4];
int32_t guardCount = 0;
void initGuards(const LevelMap&) {}
void stepGuards(const PlayerState&) {}
void planGuardRoute(Guard&, const LevelMap&, float, float) {}
void resetGuards() {}
