// The high-score file, opened by bare name in the working folder, and the table screen.
#include "ui/highscore.h"
#include "game/world.h"
#include "gfx/fade.h"
#include "gfx/particle.h"
#include "gfx/pixelfont.h"
#include "platform/file.h"
#include "sound/cea_sound.h"
#include "ui/button.h"
#include "ui/screen.h"

#include <cstdio>
#include <cstring>

static const char tableName[] = "Skyrend.dat";
static const char tempName[] = "hscore.tmp";

// The next record of file as raw bytes; a record cut short by the end of the
// file reads as empty (all zero).
static void ReadRecord(FILE* file, uint8_t record[HighScoreRecordSize])
{
    if (fread(record, 1, HighScoreRecordSize, file) != HighScoreRecordSize)
        memset(record, 0, HighScoreRecordSize);
}

static int32_t RecordScore(const uint8_t record[HighScoreRecordSize])
{
    const uint8_t* p = record + HighScoreNameSize;
    return (int32_t)((uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24);
}

static void EntryFromRecord(HighScoreEntry* entry, const uint8_t record[HighScoreRecordSize])
{
    memcpy(entry->name, record, HighScoreNameSize);
    entry->name[HighScoreNameSize] = 0;
    entry->score = RecordScore(record);
}

int HighScoreRead(HighScoreEntry table[HighScoreCount])
{
    FILE* file = fopen(tableName, "rb");
    uint8_t record[HighScoreRecordSize] = {};
    for (int i = 0; i < HighScoreCount; i++) {
        if (file)
            ReadRecord(file, record);
        EntryFromRecord(&table[i], record);
    }
    if (!file)
        return 0;
    fclose(file);
    return 1;
}

int HighScoreCreateFile()
{
    // A temporary table is only ever complete once it has been renamed, so one
    // still lying here was cut off by a crash: the real table is the old one.
    FileRemove(tempName);
    FILE* file = fopen(tableName, "rb");
    if (file) {
        fclose(file);
        return 1;
    }
    file = fopen(tableName, "wb");
    if (!file)
        return 0;
    static const uint8_t empty[HighScoreCount * HighScoreRecordSize] = {};
    size_t written = fwrite(empty, 1, sizeof empty, file);
    return fclose(file) == 0 && written == sizeof empty;
}

int HighScorePlace(int32_t score)
{
    FILE* file = fopen(tableName, "rb");
    if (!file)
        return 1;
    uint8_t record[HighScoreRecordSize];
    for (int i = 0; i < HighScoreCount; i++) {
        ReadRecord(file, record);
        if (score > RecordScore(record)) {
            fclose(file);
            return i + 1;
        }
    }
    fclose(file);
    return 0;
}

int HighScoreInsert(const char* name, int32_t score)
{
    FILE* old = fopen(tableName, "rb");
    if (!old)
        return 0;
    FILE* temp = fopen(tempName, "wb");
    if (!temp) {
        fclose(old);
        return 0;
    }
    uint8_t entry[HighScoreRecordSize] = {};
    if (name)
        strncpy((char*)entry, name, HighScoreNameSize - 1);
    for (int i = 0; i < 4; i++)
        entry[HighScoreNameSize + i] = (uint8_t)((uint32_t)score >> 8 * i);

    // The new record goes in once at most, and the table stays twelve records
    // long: the old last one drops out.
    int written = 0, place = 0, ok = 1;
    uint8_t record[HighScoreRecordSize];
    while (written < HighScoreCount) {
        ReadRecord(old, record);
        if (!place && score > RecordScore(record)) {
            ok = FileWrite(temp, entry, sizeof entry) && ok;
            place = ++written;
        }
        if (written < HighScoreCount) {
            ok = FileWrite(temp, record, sizeof record) && ok;
            written++;
        }
    }
    fclose(old);
    ok = FileCommit(temp) && ok;
    // A table that could not be written whole never takes the old one's place.
    if (!ok || !FileReplace(tempName, tableName)) {
        FileRemove(tempName);
        return 0;
    }
    return place;
}

int HighScoreFormatRow(char* out, size_t capacity, int place, const char* name, int32_t score)
{
    char shown[HighScoreNameSize + 1] = "Empty";
    if (name[0]) {
        size_t length = 0;
        while (length < HighScoreNameSize && name[length])
            length++;
        memcpy(shown, name, length);
        shown[length] = 0;
    }
    return snprintf(out, capacity, "%2d:%-9s %6d", place, shown, (int)score);
}

static const EffectParams fireworksTable[] = {
    // duration gravity speed speedVar rate  jitter angle   angleVar spin flags
    { 60.0f,   0.0f,   1.0f,  0.75f,   5.0f,  0,     0.0f,   360.0f,  0.0f, 0 },
    { 60.0f,   0.0f,   1.5f,  0.75f,   5.0f,  0,     230.0f, 30.0f,   0.0f, 0 },
    { 60.0f,   0.3f,   11.0f, 0.2f,    0.25f, 0,     270.0f, 10.0f,   0.0f, ParticleReportDeath },
};
static const int fireworksKinds[] = { 5, 6, 1 };

int ShowHighScores(Surface* screen, int highlight)
{
    ButtonSet set;
    ButtonSetInit(&set);
    ParticleSystemClear(&particleSystem);
    FadeOut(screen, MakeColour(0, 0, 0), 30);

    HighScoreEntry table[HighScoreCount];
    if (!HighScoreRead(table))
        return 0;
    ScreenSetBackground(screen, &page1Image);
    AddButton(&set, 1, "Exit", 50, 274, 132, 30, ButtonTextOnly);
    DrawButtons(&set, screen);
    ScreenDrawTitle(screen, "High Scores", 15, 8);
    for (int i = 0; i < HighScoreCount; i++) {
        char row[48];
        HighScoreFormatRow(row, sizeof row, i + 1, table[i].name, table[i].score);
        uint16_t colour = i + 1 == highlight ? MakeColour(255, 255, 0) : MakeColour(255, 255, 255);
        PixelFontDrawText(screen, row, 38, 65 + 15 * i, colour);
    }
    FadeIn(screen, MakeColour(0, 0, 0), 30);
    for (int i = 0; i < 3; i++)
        SpawnEffect(&particleSystem, fireworksKinds[i], 120, 280, &fireworksTable[i]);

    int id = RunModalScreen(&set, screen);
    PlayEffect(SoundButton);
    ParticleSystemClear(&particleSystem);
    return id;
}
