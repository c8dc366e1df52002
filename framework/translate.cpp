#include "framework/translate.h"

#include <libintl.h>
#include <sys/stat.h>

#include <clocale>
#include <cstdlib>

namespace {

// Where the catalogues lie, as seen from the data folder the game runs in: the
// build's game folder holds its own, an installed game's data folder lies in
// PREFIX/share/games/quillmoor beside PREFIX/share/locale.
constexpr const char* kLocaleFolders[] = {"locale", "../../locale"};

bool isFolder(const char* path) {
  struct stat st {};
  return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

const char* _(const char* german) { return german[0] ? gettext(german) : german; }

void startTranslations() {
  // Only the messages' language: numbers in the settings and level files are
  // read and printed as in the C locale whatever the player's locale says.
  std::setlocale(LC_MESSAGES, "");
  for (const char* folder : kLocaleFolders) {
    if (!isFolder(folder)) continue;
    // An absolute name, so that the catalogue stays found if the working folder changes.
    if (char* full = realpath(folder, nullptr)) {
      bindtextdomain(kTextDomain, full);
      std::free(full);
    }
    break;
  }
  // Otherwise the C library's own locale folder, where a system-wide install puts it.
  textdomain(kTextDomain);
  // The stroke font and the terminal take the translations as written, never transliterated.
  bind_textdomain_codeset(kTextDomain, "UTF-8");
}
