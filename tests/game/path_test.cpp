// Tests of the flight-path compiler, the point fetch, the heading and the game's scripts.
#include "game/path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <utility>
#include <vector>

namespace {

using XY = std::pair<int, int>;

struct Compiled {
    FlightPath path;
    Compiled() { FlightPathInit(&path); }
    ~Compiled() { FlightPathFree(&path); }
    XY Point(uint32_t i) const { return {path.points[i].x, path.points[i].y}; }
    XY Pen() const { return {path.curX, path.curY}; }
    bool Has(XY p) const
    {
        for (uint32_t i = 0; i < path.count; i++)
            if (Point(i) == p)
                return true;
        return false;
    }
    // Every point from index 'from' on lies on the circle about (cx, cy).
    bool OnCircle(uint32_t from, int cx, int cy, int r) const
    {
        for (uint32_t i = from; i < path.count; i++)
            if (std::fabs(std::hypot(path.points[i].x - cx, path.points[i].y - cy) - r) > 1.5)
                return false;
        return true;
    }
    void Compile(std::initializer_list<const char*> commands, int spacing)
    {
        std::vector<const char*> script(commands);
        script.push_back(nullptr);
        ASSERT_TRUE(FlightPathCompile(&path, script.data(), spacing));
    }
};

}  // namespace

TEST(FlightPath, EveryCommandForm)
{
    Compiled c;
    c.Compile({"B+050-000"}, 5);   // a negative zero is zero
    EXPECT_EQ(XY(50, 0), c.Point(0));
    c.Compile({"B240200"}, 5);     // no signs: x from "402", y from "0"
    EXPECT_EQ(XY(402, 0), c.Point(0));

    // A line samples its start, not its end; the pen lands on the end exactly.
    c.Compile({"B-010+020", "M010020", "R+000-007"}, 5);
    EXPECT_EQ(6u, c.path.count);
    EXPECT_TRUE(c.Has({-5, 20}) && c.Has({5, 20}) && c.Has({10, 20}) && c.Has({10, 15}));
    EXPECT_EQ(XY(10, 13), c.Pen());
    EXPECT_EQ(XY(10, 15), XY(c.path.lastX, c.path.lastY));

    // A move to the pen itself appends nothing and heads 0; spacing 0 repeats the start.
    c.Compile({"B+000+000", "M000000"}, 5);
    EXPECT_TRUE(c.path.count == 1 && c.path.heading == 0.0f);
    c.Compile({"B+000+000", "M003000"}, 0);
    EXPECT_EQ(4u, c.path.count);

    // Speed changes apply to the commands after them: 10, then 1.
    c.Compile({"B+000+000", "S+05", "M020000", "S-09", "M025000"}, 5);
    EXPECT_EQ(2u + 5u, c.path.count);

    // Pause repeats the pen and leaves the last point; character 1 is
    // skipped, so "P-01" pauses once and "P -1" not at all.
    c.Compile({"B+000+000", "M000003", "P050", "P000", "P -1", "P-01", "X999", "M000004"}, 5);
    EXPECT_EQ(52u, c.path.count);
    EXPECT_EQ(XY(0, 3), c.Point(51));
    EXPECT_EQ(0, c.path.lastY);

    // Fields past the end read as nothing; signs go to atoi.
    c.Compile({"B+001+001", "P5", "P05", "P", "M1", "P002 and much more than any field reaches"}, 5);
    EXPECT_EQ(1u + 5u + 2u, c.path.count);
    EXPECT_EQ(XY(1, 0), c.Pen());
    c.Compile({"B+000+000", "M-10+20", "C"}, 5);   // "C": radius 0, at the pen
    EXPECT_EQ(XY(-10, 20), c.Pen());
}

TEST(FlightPath, HeadingOfEveryDirection)
{
    // Same point; up and left use the undivided numerator; the four diagonals.
    static const float table[][5] = {
        {5, 5, 5, 5, 0},       {0, 80, 0, 0, 0.71617f},  {80, 0, 0, 0, 270.71617f},
        {0, 0, 80, 0, 90},     {0, 0, 0, 80, 180},       {0, 10, 10, 0, 45},
        {0, 0, 10, 10, 135},   {10, 0, 0, 10, 225},      {10, 10, 0, 0, 315},
    };
    for (const auto& t : table)
        EXPECT_NEAR(t[4], PathHeading((int)t[0], (int)t[1], (int)t[2], (int)t[3]), 1e-4) << t[4];
    EXPECT_EQ(90.0f, PathHeading(0, 0, 80, 0));
    EXPECT_EQ(180.0f, PathHeading(0, 0, 0, 80));
}

TEST(FlightPath, LoopsAndTheEndsOfAPathAndOfItsBuffer)
{
    Compiled c;
    c.Compile({"B+000+000", "M000020", "M020020", "G00"}, 5);
    EXPECT_EQ(1u, c.path.loopStart);
    c.Compile({"B+000+000", "M000020", "M020020", "G02", "M000000"}, 5);
    EXPECT_EQ(8u, c.path.count);   // nothing after "G" runs
    EXPECT_EQ(4u + 1u, c.path.loopStart);
    c.Compile({"B+000+000", "P0300", "P0001", "G02"}, 5);
    EXPECT_EQ(301u % 256u + 1u, c.path.loopStart);   // marks keep 8 bits
    c.Compile({"B+000+000", "G07"}, 5);   // a command that never ran
    EXPECT_EQ(1u, c.path.loopStart);

    // A looping path's return to its mark is pinned by the golden runs' bosses; their start above the screen is not.
    ASSERT_TRUE(FlightPathCompile(&c.path, PathScriptTable[10], 1));
    int x = -1, y = -1;
    uint32_t step = 0, loops = 4;
    EXPECT_TRUE(FlightPathNextPoint(&c.path, &x, &y, &step, &loops));
    EXPECT_EQ(XY(120, -50), XY(x, y));   // 16-bit points widen with their sign

    // A path that ends, and one whose loop target is its end: outputs untouched.
    for (const char* last : {"M000020", "G01"}) {
        c.Compile({"B+000+000", last}, 5);
        x = y = -7;
        step = c.path.count;
        loops = 2;
        EXPECT_FALSE(FlightPathNextPoint(&c.path, &x, &y, &step, &loops));
        EXPECT_EQ(XY(-7, -7), XY(x, y));
        EXPECT_EQ(XY(c.path.count, 2), XY(step, loops));
    }

    // The buffer stops at its end.
    c.Compile({"B+000+000", "P0999", "M100100", "C090050360", "P0999"}, 1);
    EXPECT_EQ((uint32_t)FlightPathCapacity, c.path.count);
    FlightPathFree(&c.path);
    EXPECT_TRUE(c.path.points == nullptr && c.path.count == 0);
}

// Point count, loop start and a checksum of every point, at each script's
// wave spacing: a compiler change that moves one point shows up here.
TEST(FlightPath, TheGameScripts)
{
    static const uint32_t table[12][4] = {
        {5, 178, 3, 0xFCA09BCEu},   {5, 148, 17, 0x7BB44615u},  {5, 214, 1, 0x3C931F96u},
        {5, 203, 39, 0x2228CD43u},  {5, 224, 1, 0xA705935Au},   {5, 313, 1, 0x9D5D1894u},
        {5, 175, 1, 0x0C772D3Fu},   {5, 121, 1, 0x5A5AC48Bu},   {5, 0, 0, 0},
        {5, 362, 123, 0x7949BD77u}, {1, 365, 166, 0xF9749EDFu}, {1, 445, 166, 0xA2D1E03Fu},
    };
    Compiled c;
    for (int i = 0; i < 12; i++) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(PathScriptTable[i] && FlightPathCompile(&c.path, PathScriptTable[i], (int)table[i][0]));
        uint32_t checksum = 0;
        for (uint32_t k = 0; k < c.path.count; k++)
            checksum = (checksum * 31 + (uint16_t)c.Point(k).first) * 31 + (uint16_t)c.Point(k).second;
        EXPECT_EQ(table[i][1], c.path.count);
        EXPECT_EQ(table[i][2], c.path.loopStart);
        EXPECT_EQ(table[i][3], checksum);
        EXPECT_TRUE(std::isfinite(c.path.heading));
    }
}
