// The desktop's files: the user's data and pictures folders, the installed program's working folder, and screenshots.
#include "platform/gx.h"
#include "platform/headless.h"
#include "platform/sys.h"
#include "platform/sdl/sdl_internal.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// The install writes this file beside the program; a build folder has none.
static const char installMarker[] = "space-shooter.installed";
static const uint32_t titleHold = 4000;   // how long a message stays in the title

static uint32_t titleUntil;
static int titleChanged;
static std::string usualTitle;   // the window's title while no message is shown

static int IsFolder(const std::string& path)
{
    struct stat info;
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Makes path and the folders above it, as mkdir -p does; 1 when it exists after.
static int MakeFolders(const std::string& path)
{
    if (path.empty())
        return 0;
    for (size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1))
        mkdir(path.substr(0, at).c_str(), 0755);
    mkdir(path.c_str(), 0755);
    return IsFolder(path);
}

static std::string Environment(const char* name)
{
    const char* value = getenv(name);
    return value ? value : "";
}

// The program's folder, from the file name the system reports.
static std::string ProgramFolder()
{
    wchar_t wide[1024];
    int length = SysModuleFileName(SysModule(), wide, 1024);
    std::string path;
    char bytes[8];
    for (int i = 0; i < length; i++) {
        int n = (int)wctomb(bytes, wide[i]);
        if (n > 0)
            path.append(bytes, (size_t)n);
    }
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string SdlDataFolder()
{
    std::string base = Environment("XDG_DATA_HOME");
    // Relative values are to be ignored, as the folder rules say.
    if (base.empty() || base[0] != '/') {
        std::string home = Environment("HOME");
        if (home.empty())
            return "";
        base = home + "/.local/share";
    }
    std::string folder = base + "/space-shooter";
    return MakeFolders(folder) ? folder : "";
}

// What xdg-user-dir says, or empty. It answers with the home folder itself
// when no pictures folder is set, which is no answer here.
static std::string XdgPicturesFolder()
{
    FILE* pipe = popen("xdg-user-dir PICTURES 2>/dev/null", "r");
    if (!pipe)
        return "";
    char line[1024] = "";
    if (!fgets(line, sizeof line, pipe))
        line[0] = 0;
    pclose(pipe);
    std::string folder = line;
    while (!folder.empty() && (folder.back() == '\n' || folder.back() == '/'))
        folder.pop_back();
    std::string home = Environment("HOME");
    while (!home.empty() && home.back() == '/')
        home.pop_back();
    if (folder.empty() || folder[0] != '/' || folder == home)
        return "";
    return folder;
}

std::string SdlPicturesFolder()
{
    std::string folder = XdgPicturesFolder();
    if (!folder.empty() && MakeFolders(folder))
        return folder;
    std::string home = Environment("HOME");
    if (!home.empty() && IsFolder(home + "/Pictures"))
        return home + "/Pictures";
    return SdlDataFolder();
}

int SdlInstalled()
{
    return access((ProgramFolder() + "/" + installMarker).c_str(), F_OK) == 0;
}

void SdlEnterDataFolder()
{
    if (!SdlInstalled())
        return;
    std::string folder = SdlDataFolder();
    if (folder.empty() || chdir(folder.c_str()) != 0)
        fprintf(stderr, "space-shooter: no data folder for the high scores; they stay in the working folder\n");
}

static void SdlSetTitle(const std::string& text)
{
    if (sdlVideo.window)
        SDL_SetWindowTitle(sdlVideo.window, text.c_str());
}

void SdlTitleMessage(const std::string& text)
{
    if (!titleChanged && sdlVideo.window)
        usualTitle = SDL_GetWindowTitle(sdlVideo.window);
    SdlSetTitle(usualTitle + " - " + text);
    titleUntil = SDL_GetTicks() + titleHold;
    titleChanged = 1;
}

void SdlScreenshot()
{
    std::string folder = SdlPicturesFolder();
    if (folder.empty()) {
        SdlTitleMessage("no folder to save the screenshot in");
        return;
    }
    char stamp[64];
    time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    strftime(stamp, sizeof stamp, "space-shooter-%Y-%m-%d-%H%M%S", &local);
    int scale = SdlLayoutNow().scale;
    std::string base = folder + "/" + stamp;
    int saved = HeadlessWritePng(base + ".png", SdlLastFrame(), kfDirect | kfDirect565);
    if (saved && scale > 1)
        saved = HeadlessWritePngScaled(base + "-" + std::to_string(scale) + "x.png", SdlLastFrame(),
                                       kfDirect | kfDirect565, scale);
    SdlTitleMessage((saved ? "screenshot saved in " : "cannot save a screenshot in ") + folder);
    fprintf(stderr, "space-shooter: %s %s.png\n", saved ? "saved" : "cannot save", base.c_str());
}

void SdlTitleUpdate()
{
    if (!titleChanged || (int32_t)(SDL_GetTicks() - titleUntil) < 0)
        return;
    titleChanged = 0;
    SdlSetTitle(usualTitle);
}
