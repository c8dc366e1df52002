// The thin entry point: the player's language, then the process's arguments
// straight to the game.
#include "framework/translate.h"
#include "game/startup.h"

int main(int argc, char** argv) {
  startTranslations();
  return gameMain(argc, argv);
}
