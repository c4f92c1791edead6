// The high-score table and its file of twelve 20-byte records.
#pragma once

// Makes sure the high-score file exists: 1 if it does or was created.
int HighScoreCreateFile();
