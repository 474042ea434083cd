#include "progress/savelock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

static int lockFd = -1;  // the open lock file while this process holds it; -1 otherwise

int AcquireSaveLock()
{
    if (lockFd >= 0)
        return 1;
    int fd = open(LOCK_FILE, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return 1;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return 0;
    }
    lockFd = fd;
    return 1;
}

void ReleaseSaveLock()
{
    if (lockFd < 0)
        return;
    flock(lockFd, LOCK_UN);
    close(lockFd);
    lockFd = -1;
}
