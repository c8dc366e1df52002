// Keeps every shared library loaded so far mapped until the process ends.
// SDL loads the X, GL and GL-driver libraries on demand and unloads them when
// its video shuts down; what they leak (a little, once) is then reported by a
// leak checker with stacks in no module at all, which no suppression by
// library name can match, so a checked run would fail by chance.
#pragma once

// Pins the libraries loaded now; call again after SDL may have loaded more.
void pinLoadedModules();
