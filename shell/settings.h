// The settings file "config.dat": five signed 32-bit little-endian words,
// exactly 20 bytes, no header.
//   word 0  not used by the game, kept as read and written back unchanged
//   word 1  music volume (0..128; the options slider gives 0..127)
//   word 2  effects volume, same scale
//   word 3  full screen: 1 on, 0 off (any non-zero value means on)
//   word 4  number of the player profile chosen last; 0 = none remembered
// A file missing or too short to hold the music volume makes the start-up put
// back the defaults and write the file anew; a stored 0 keeps the music silent.
// Words the file ends before, and a partial last word, read as 0.
#ifndef TOVI_SHELL_SETTINGS_H
#define TOVI_SHELL_SETTINGS_H

#include <cstdio>

#include "shell/files.h"

// ---- settings ----------------------------------------------------------------
constexpr int POD_WORDS = 5;
constexpr const char* CONFIG_FILE = "config.dat";

extern int pod[POD_WORDS];  // the file's five words as last read or about to be written
extern int ukupod;          // words read at start-up (4 after the defaults were applied)
extern FILE* confile;       // handle used while reading at start-up; null otherwise
extern int slidm;           // music volume in use, from pod[1]
extern int slidf;           // effects volume in use, from pod[2]
extern int fulls;           // full screen in use, from pod[3]

void ReadSettings();  // start-up: read, apply defaults when the file holds no music volume, mirror into
                      // slidm/slidf/fulls
int WriteSettings();  // write pod as 20 bytes through a temporary file and a rename; 1 on success

#endif
