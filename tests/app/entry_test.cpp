// Paths of the files beside the program.
#include "app/entry.h"
#include "platform/headless.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace {

TEST(ModuleFilePath, JoinsTheProgramFolderWithThePlatformSeparator)
{
    HeadlessReset();
    HeadlessSetModuleFileName(L"/opt/game/space-shooter");
    EXPECT_STREQ(ModuleFilePathA("GFX\\FONT.BMP"), "/opt/game/GFX/FONT.BMP");
    EXPECT_STREQ(ModuleFilePathW(L"sounds\\fire.wav"), L"/opt/game/sounds/fire.wav");
}

TEST(ModuleFilePath, AProgramNameWithoutAFolderIsKeptWhole)
{
    HeadlessReset();
    HeadlessSetModuleFileName(L"space-shooter");
    EXPECT_STREQ(ModuleFilePathA("GFX\\FONT.BMP"), "space-shooter/GFX/FONT.BMP");
}

TEST(ModuleFilePath, BothFormsShareOneBuffer)
{
    HeadlessReset();
    HeadlessSetModuleFileName(L"/a/b");
    const wchar_t* wide = ModuleFilePathW(L"x");
    const char* narrow = ModuleFilePathA("y");
    EXPECT_EQ((const void*)wide, (const void*)narrow);
    EXPECT_STREQ(narrow, "/a/y");
}

}  // namespace
