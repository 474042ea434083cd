// High scores and the recording of progress.
//
// The player table (progress/players.h) holds each player's progress; biljezi brings
// the current player's record up to date after every finished level and when
// the main menu comes back after a dialog. The high-score table keeps the five
// best (name, score) pairs ever seen: "highscore.dat" holds exactly six player
// records, the all-zero placeholder and then rows 1..5 best first (level 0; a
// row with no entry has an empty name and score 0). chkHS rebuilds it after
// every recording by merging the stored rows with every player's score.
#ifndef TOVI_PROGRESS_SCORES_H
#define TOVI_PROGRESS_SCORES_H

#include "progress/players.h"

// ---- the table ---------------------------------------------------------------
constexpr int HS_RECORDS = 6;       // records in "highscore.dat", the placeholder first
constexpr int HS_ROWS = 5;          // rows 1..5
constexpr int HS_CANDIDATES = 999;  // phs: the stored rows a merge reads
constexpr const char* HISCORE_FILE = "highscore.dat";

extern PlayerRecord phss[HS_RECORDS];    // the six records as last written or read
extern PlayerRecord phs[HS_CANDIDATES];  // a merge's stored rows, from slot 1; only during chkHS
extern int ukuhs;                        // index of the last stored row of the merge

// Records the current player's level (proshli; above 1000 less 999) and score
// in their record, saves "player.dat", clears izmp and runs chkHS. A current
// name that is not in the table changes no record.
void biljezi();
void chkHS();  // rebuilds and saves "highscore.dat"

#endif
