// The game's texts are German and serve as the keys of its message catalogues:
// _() looks a text up in the player's language, N_() marks one in a static
// table for the catalogue and leaves it as it is until it is drawn.
#pragma once

// The catalogue's name, also the file name of the compiled catalogues.
constexpr const char* kTextDomain = "quillmoor";

// The text in the player's language, or the German one; static storage either way.
// The empty text stays empty (its catalogue entry is the catalogue's header).
const char* _(const char* german);
constexpr const char* N_(const char* german) { return german; }

// Takes the language for messages from the environment (LANGUAGE, LC_ALL,
// LC_MESSAGES, LANG) and reads catalogues from the locale folder beside the
// data folder the game runs in. Only the game's main() calls it: the tests and
// replays run in the C locale and so always see German.
void startTranslations();
