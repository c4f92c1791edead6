// Windows files and title: screenshots in the pictures folder, messages after the title, and the high-score file's folder.
#include "platform/gx.h"
#include "platform/headless.h"
#include "platform/win32/win32_internal.h"

#include <shlobj.h>

#include <cstdio>

enum : DWORD { titleHold = 3000 };   // how long a message stays in the title
static std::wstring usualTitle;
static DWORD titleUntil;
static int titleChanged;

static std::string Win32Narrow(const std::wstring& text)
{
    char out[MAX_PATH * 4];
    int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, out, sizeof out, nullptr, nullptr);
    return n > 0 ? std::string(out) : std::string();
}

static std::wstring Win32KnownFolder(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    std::wstring folder;
    if (SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &path) == S_OK)
        folder = path;
    CoTaskMemFree(path);
    return folder;
}

void Win32TitleMessage(const std::wstring& text)
{
    if (!win32Video.hwnd)
        return;
    if (!titleChanged) {
        wchar_t title[256];
        GetWindowTextW(win32Video.hwnd, title, 256);
        usualTitle = title;
    }
    SetWindowTextW(win32Video.hwnd, (usualTitle + L" - " + text).c_str());
    titleUntil = GetTickCount() + titleHold;
    titleChanged = 1;
}

void Win32TitleUpdate()
{
    if (Win32AudioMissingNews())
        Win32TitleMessage(L"no sound device: playing silently");
    if (!titleChanged || (int32_t)(GetTickCount() - titleUntil) < 0)
        return;
    titleChanged = 0;
    SetWindowTextW(win32Video.hwnd, usualTitle.c_str());
}

void Win32Screenshot()
{
    std::wstring folder = Win32KnownFolder(FOLDERID_Pictures);
    if (folder.empty()) {
        Win32TitleMessage(L"no folder to save the screenshot in");
        return;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[64];
    snprintf(stamp, sizeof stamp, "\\space-shooter-%04u-%02u-%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay,
             now.wHour, now.wMinute, now.wSecond);
    std::string base = Win32Narrow(folder) + stamp;
    int scale = Win32LayoutNow().scale;
    int saved = HeadlessWritePng(base + ".png", Win32LastFrame(), kfDirect | kfDirect565);
    if (saved && scale > 1)
        saved = HeadlessWritePngScaled(base + "-" + std::to_string(scale) + "x.png", Win32LastFrame(),
                                       kfDirect | kfDirect565, scale);
    Win32TitleMessage((saved ? L"screenshot saved in " : L"cannot save a screenshot in ") + folder);
}

// A file made and removed at once tells whether the folder takes writes;
// Program Files does not, for a user.
static int Win32Writable(const std::wstring& folder)
{
    HANDLE probe = CreateFileW((folder + L"\\hscore.probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (probe == INVALID_HANDLE_VALUE)
        return 0;
    CloseHandle(probe);
    return 1;
}

void Win32EnterDataFolder()
{
    wchar_t path[MAX_PATH * 2];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    std::wstring folder(path, n < MAX_PATH * 2 ? n : 0);
    folder = folder.substr(0, folder.find_last_of(L"\\/") == std::wstring::npos ? 0 : folder.find_last_of(L"\\/"));
    if (folder.empty() || !Win32Writable(folder)) {
        folder = Win32KnownFolder(FOLDERID_RoamingAppData);
        if (folder.empty())
            return;
        folder += L"\\space-shooter";
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    SetCurrentDirectoryW(folder.c_str());
}
