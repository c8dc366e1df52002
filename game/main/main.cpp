// The thin entry point: the player's language, the maker of seeded mazes,
// then the process's arguments straight to the game.
#include "framework/translate.h"
#include "game/seedlevel.h"
#include "game/startup.h"
#include "mazegen/seedfile.h"

int main(int argc, char** argv) {
  startTranslations();
  setSeedLevelMaker(writeSeedLevel);
  return gameMain(argc, argv);
}
