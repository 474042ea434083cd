// The game's data files: little-endian words and atomic replacement, shared by
// the settings and the player's progress.
#ifndef TOVI_SHELL_FILES_H
#define TOVI_SHELL_FILES_H

#include <cstddef>

// Atomic replace used by every data file of the game: writes size bytes to
// "<path>.tmp", flushes it to the disk, renames it over path and flushes the
// folder, so that a killed process or a power cut leaves either the old file or
// the new one, never a short one. Returns 1 on success.
int WriteFileAtomic(const char* path, const unsigned char* data, size_t size);
// When set, WriteFileAtomic first hands it every file it is about to write, before
// a byte of it reaches the disk: the kill test learns from it what each save
// would leave. Null (the game never sets it) at start.
extern void (*FileWriteWatch)(const char* path, const unsigned char* data, size_t size);
// The start-up's clean-up: the temporary file a killed save may have left beside
// the data file path ("<path>.tmp") is removed; the data file itself is whole.
void RemoveStaleTemporary(const char* path);

// Little-endian words, as every data file of the game stores them.
void PutLE32(unsigned char* out, int value);
int GetLE32(const unsigned char* in);

#endif
