// The thin entry point: the process's arguments go straight to the game.
#include "game/startup.h"

int main(int argc, char** argv) { return gameMain(argc, argv); }
