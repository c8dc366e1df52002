#include "game/startup.h"

int gameMain(int, char**) { return 0; }
