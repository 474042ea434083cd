#include "progress/scores.h"

#include <cstring>

PlayerRecord phss[HS_RECORDS];
PlayerRecord phs[HS_CANDIDATES];
int ukuhs = 0;

void biljezi()
{
    DropEmptyTail();
    int i = FindPlayer(PlayerName);
    // Nobody of that name (a name given up in the dialog, say): no other
    // player's record is touched.
    if (i != 0) {
        if (proshli > 1000)
            proshli -= 999;  // a chapter-map code stands for the level after it
        SetRecordName(&pin[i], PlayerName);
        pin[i].level = proshli;
        pin[i].score = PlayerScore;
    }
    SavePlayers();
    izmp = 0;
    chkHS();
}

// The ranking of a merge: rows 1..5, best first; an empty rank holds score 0.
static PlayerRecord top[HS_ROWS + 1];

static bool Holds(const PlayerRecord& r)
{
    for (int k = 1; k <= HS_ROWS; k++)
        if (top[k].score == r.score && strncmp(top[k].name, r.name, NAME_SIZE) == 0 && top[k].name[0])
            return true;
    return false;
}

// A candidate takes the first rank whose holder has a lower score; the holders
// from there move down one and the fifth drops out. So only scores above 0
// enter, and among equal scores the one met first keeps the better rank.
static void Offer(const PlayerRecord& r)
{
    for (int k = 1; k <= HS_ROWS; k++) {
        if (r.score > top[k].score) {
            for (int m = HS_ROWS; m > k; m--)
                top[m] = top[m - 1];
            top[k] = r;
            top[k].level = 0;
            return;
        }
    }
}

void chkHS()
{
    for (PlayerRecord& r : top)
        r = PlayerRecord{};
    memset(phs, 0, sizeof phs);
    int n = ReadRecords(HISCORE_FILE, phs, HS_CANDIDATES);
    ukuhs = n > 0 ? n - 1 : 0;
    while (ukuhs > 0 && phs[ukuhs].name[0] == 0)
        ukuhs--;
    for (int i = 1; i <= ukuhs; i++)
        if (phs[i].name[0])
            Offer(phs[i]);

    // Every player after the stored rows, in list order. A player whose name and
    // score are already a row is not offered again. Checking against the ranks
    // held so far is enough: an equal pair met earlier that holds no rank any
    // more could not take one now either. So the merge needs no list of its own
    // however many players there are.
    static PlayerRecord players[PLAYER_SLOTS];
    int count = ReadRecords(PLAYER_FILE, players, PLAYER_SLOTS);
    for (int i = 0; i < count; i++)
        if (players[i].name[0] && !Holds(players[i]))
            Offer(players[i]);

    phss[0] = PlayerRecord{};
    for (int k = HS_ROWS; k >= 1; k--) {
        phss[k] = PlayerRecord{};
        SetRecordName(&phss[k], top[k].name);
        phss[k].score = top[k].score;
    }
    WriteRecords(HISCORE_FILE, phss, HS_RECORDS);
}
