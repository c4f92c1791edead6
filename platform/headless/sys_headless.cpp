// Headless system services: the virtual clock's sleep and recorded message boxes.
#include "platform/sys.h"
#include "platform/headless.h"
#include "platform/headless/headless_internal.h"

#include <cstdio>

static std::vector<std::string> boxes;
static int boxAnswer = SysAnswerOk;

uint32_t SysTicks()
{
    return HeadlessNow();
}

void SysSleep(uint32_t ms)
{
    HeadlessAdvanceTo(HeadlessNow() + ms);
}

int SysMessageBox(Window*, const char* text, const char* caption, uint32_t)
{
    std::string line = std::string(caption ? caption : "") + ": " + (text ? text : "");
    boxes.push_back(line);
    fprintf(stderr, "box: %s\n", line.c_str());
    return boxAnswer;
}

const std::vector<std::string>& HeadlessBoxes()
{
    return boxes;
}

void HeadlessSetBoxAnswer(int answer)
{
    boxAnswer = answer;
}

void HeadlessBoxesReset()
{
    boxes.clear();
    boxAnswer = SysAnswerOk;
}
