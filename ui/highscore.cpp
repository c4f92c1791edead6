// The high-score file, opened by bare name in the working folder.
#include "ui/highscore.h"

#include <cstdio>

int HighScoreCreateFile()
{
    FILE* file = fopen("Skyrend.dat", "rb");
    if (file) {
        fclose(file);
        return 1;
    }
    file = fopen("Skyrend.dat", "wb");
    if (!file)
        return 0;
    static const unsigned char empty[12 * 20] = {};
    size_t written = fwrite(empty, 1, sizeof empty, file);
    return fclose(file) == 0 && written == sizeof empty;
}
