// One copy of the game per save folder. Two copies working on the same
// "player.dat" would each write their own table over the other's progress, so
// the game holds a lock on "tovi.lock" in the working directory while it runs.
// The lock is the kernel's (flock), so a copy that crashes or is killed leaves
// the file behind but never the lock: the next start takes it.
#ifndef TOVI_PROGRESS_SAVELOCK_H
#define TOVI_PROGRESS_SAVELOCK_H

constexpr const char* LOCK_FILE = "tovi.lock";

// ---- the lock ----------------------------------------------------------------
// 1 when this process now holds the save folder (or the lock file cannot be made
// at all, as in a read-only folder, where nothing can be saved to lose); 0 when
// another running copy holds it.
int AcquireSaveLock();
void ReleaseSaveLock();  // lets go of the lock; the file stays

#endif
