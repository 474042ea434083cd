#include "video/video.h"

int theora_p = 0;

// Until the player decodes Theora, a video is skipped at once; start-up and the
// help pages go on as after a video that has ended.
int LoadPlayV(const char*, int, int)
{
    return 0;
}

void VideoRelease()
{
    theora_p = 0;
}
