// The high-score table: its file of twelve 20-byte records, placing and inserting a score, and its screen.
#pragma once
#include <cstddef>
#include <cstdint>

struct Surface;

// "Skyrend.dat": HighScoreCount records, best first. A record is a name of
// HighScoreNameSize bytes (NUL-terminated; empty when its first byte is 0)
// and a signed 32-bit little-endian score.
enum { HighScoreCount = 12, HighScoreNameSize = 16, HighScoreRecordSize = 20 };

// One record as read: the name always terminated, whatever the file held.
struct HighScoreEntry {
    char name[HighScoreNameSize + 1];
    int32_t score;
};

// Reads the whole table; records missing from a short file read as empty.
// 0 (and twelve empty entries) when the file cannot be opened.
int HighScoreRead(HighScoreEntry table[HighScoreCount]);

// Makes sure the table exists (1 if it does or was created), and removes a
// temporary table that a crash left behind. Called once at start-up.
int HighScoreCreateFile();

// The place 1 to 12 that score would take, 0 when it beats no record, 1 when
// the file cannot be opened.
int HighScorePlace(int32_t score);

// Inserts name and score above the first record with a lower score, writing
// the new table as "hscore.tmp" and then putting it in the table's place:
// the place, or 0 when the score does not qualify or a file fails.
int HighScoreInsert(const char* name, int32_t score);

// One row of the table screen: "%2d:%-9s %6d", an empty name shown as "Empty".
// Its length, as snprintf gives it.
int HighScoreFormatRow(char* out, size_t capacity, int place, const char* name, int32_t score);

// The table over the PAGE1 picture with the row of highlight in yellow and
// fireworks, until "Exit": the modal loop's id, or 0 when the file cannot be opened.
int ShowHighScores(Surface* screen, int highlight);
