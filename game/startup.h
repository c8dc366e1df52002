// Start-up: switches, framework, mode, title picture and the seven loading stages.
#pragma once

int gameMain(int argc, char** argv);
