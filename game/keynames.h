// Names for the keys, as the settings file and the options page write them
// ("Up", "W", "F5", "PageDown"): one name per scan code, the keypad sharing
// the name of the grey key with its code.
#pragma once

// The name of a scan code; nullptr for a code without a key.
const char* keyName(int scanCode);
// The scan code of a name (letter case ignored); 0 for none.
int keyByName(const char* name);
