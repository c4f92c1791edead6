// Headless system services: the virtual clock's sleep and recorded message boxes.
#include "platform/sys.h"
#include "platform/headless.h"
#include "platform/headless/headless_internal.h"
#include "platform/record.h"

#include <cstdio>

static std::vector<std::string> boxes;
static int boxAnswer = SysAnswerOk;

uint32_t SysTicks()
{
    return RecordClock(HeadlessNow());
}

// A sleep is one of the pumps where input comes in. A replay's clock follows
// the recorded reads instead.
void SysSleep(uint32_t ms)
{
    RecordPumpBegin();
    if (RecordCurrent() != RecordReplaying)
        HeadlessAdvanceTo(HeadlessNow() + ms);
    RecordPumpEnd();
}

int SysMessageBox(Window*, const char* text, const char* caption, uint32_t)
{
    std::string line = std::string(caption ? caption : "") + ": " + (text ? text : "");
    boxes.push_back(line);
    fprintf(stderr, "box: %s\n", line.c_str());
    return RecordBox(caption, text, boxAnswer);
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
