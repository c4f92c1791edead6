// Name entry: one large glowing letter at a time, stepped through the alphabet with a morph.
#pragma once

struct Surface;

enum { NameLetters = 26, NameCells = 45, NamePoints = 24, NameMaxLength = 8 };

// Letters A to Z, each 9 rows of 5 cells: '*' lit, '$' an unlit point, ' '
// empty. Every letter has NamePoints points, so any letter morphs into any other.
extern const char LetterPatternTable[NameLetters * NameCells + 1];

enum { NameEntryQuit = 0, NameEntryOk = 1, NameEntryCancel = 2 };

// Lets the player spell up to eight capital letters into name (at least 9
// bytes, holding the starting name). NameEntryOk, NameEntryCancel, or
// NameEntryQuit when the program is quitting; name holds what was typed in
// every case. Called by the game-over flow for a score that places.
int EnterName(Surface* screen, char* name);

// Draws letter (0 = A) as glowing dots with its top-left at (x, y); burst
// makes every lit cell throw out particles.
void DrawLetter(Surface* screen, int x, int y, int letter, int burst);

// Moves the points of one letter onto those of the other over 13 frames.
void MorphLetter(Surface* screen, int x, int y, int from, int to);
