// The asset generator's shared records: the set of generated pictures and files, and what each drawing module offers.
#pragma once
#include "canvas.h"
#include "output.h"

#include <string>
#include <vector>

// One bitmap resource as the program will see it.
struct Resource {
    std::string name;
    int width, height, bits;
    bool keyed;                  // transparent where the key colour is (black)
    std::vector<Rgb8> shown;     // the colours after palette reduction
    std::vector<uint8_t> bmp;    // the whole file, header included
};

// A file written beside the program or for review, by path under the output folder.
struct OutFile {
    std::string path;
    std::vector<uint8_t> bytes;
};

// A 240 x 320 screen background kept for the previews.
struct ScreenPicture {
    std::string name;
    std::vector<Rgb8> rgb;
};

struct AssetSet {
    std::vector<Resource> resources;
    std::vector<OutFile> files;
    std::vector<ScreenPicture> screens;
    Image icon;                    // the window icon with its alpha
};

// Glyph rows of the text font.
const int FontHeight = 13;

// Adds a bitmap resource reduced to a palette of 2^bits colours (4 or 8).
void AssetAddIndexed(AssetSet& set, const char* name, const Image& image, int bits, FlattenMode mode);
// Adds a 24-bit bitmap resource.
void AssetAddTrue(AssetSet& set, const char* name, const std::vector<Rgb8>& rgb, int width, int height);
void AssetAddFile(AssetSet& set, const std::string& path, const std::vector<uint8_t>& bytes);
const Resource* AssetFind(const AssetSet& set, const char* name);

// Text in the font of FONT.BMP, at a whole-number scale, and enlarged with
// rounded corners for titles.
int TextWidth(const char* text, int scale);
void TextDraw(Image& image, int x, int y, const char* text, Colour colour, int scale);
int TextWidthSmooth(const char* text, float scale);
Mask TextMaskSmooth(int width, int height, int x, int y, const char* text, float scale);

// The player's ship, drawn at any size with its nose up; (cx, top) is the
// centre of its top edge and scale 1 fills 32 x 64.
void DrawPlayerShip(Image& image, float cx, float top, float scale, bool flame);

// The drawing modules, each adding its resources or files.
void MakeFontFiles(AssetSet& set);
void MakeBackgrounds(AssetSet& set);
void MakeGlows(AssetSet& set);
void MakeSprites(AssetSet& set);
void MakeTurrets(AssetSet& set);
void MakeBosses(AssetSet& set);
void MakeSplash(AssetSet& set);
void MakeScreens(AssetSet& set);
void MakeSounds(AssetSet& set);

// Review pictures: the contact sheet, the stages as the game composes them,
// the screens with their texts' places marked, the glows coloured.
void MakeReview(const AssetSet& set, const std::string& outDir);

// The boss parts' hit boxes and wreck areas, relative to the image's top-left.
struct BossRect {
    int left, top, right, bottom;
};
struct BossLayout {
    const char* intact;
    const char* damaged;
    int width, height, parts;
    BossRect hit[6];
    BossRect damage[6];
};
extern const BossLayout BossLayoutTable[4];
