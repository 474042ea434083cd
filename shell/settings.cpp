#include "shell/settings.h"

#include <cstring>

int pod[POD_WORDS];
int ukupod = 0;
FILE* confile = nullptr;
int slidm = 0;
int slidf = 0;
int fulls = 0;

int WriteSettings()
{
    unsigned char bytes[POD_WORDS * 4];
    for (int i = 0; i < POD_WORDS; i++)
        PutLE32(bytes + 4 * i, pod[i]);
    return WriteFileAtomic(CONFIG_FILE, bytes, sizeof bytes);
}

void ReadSettings()
{
    // pod[0] is left as it is: it starts at 0 and only the file may change it.
    for (int i = 1; i < POD_WORDS; i++)
        pod[i] = 0;
    ukupod = 0;
    confile = fopen(CONFIG_FILE, "rb");
    if (confile) {
        unsigned char word[4];
        while (ukupod < POD_WORDS && fread(word, 1, 4, confile) == 4)
            pod[ukupod++] = GetLE32(word);
        fclose(confile);
        confile = nullptr;
    }
    // Defaults only when the file cannot hold a music volume at all: a stored 0
    // is a player who muted the music, and stays so. A partial last word is
    // dropped by the whole-word read above and so reads as 0.
    if (ukupod < 2) {
        pod[1] = 50;
        pod[2] = 50;
        pod[3] = 1;
        pod[4] = 1;
        ukupod = 4;
        WriteSettings();
    }
    // Values are used as read: the mixer caps or ignores odd volumes itself.
    slidm = pod[1];
    slidf = pod[2];
    fulls = pod[3];
}
