// Windows display: the frame lives in memory and is shown with StretchDIBits, scaled by whole numbers, nearest-neighbour.
#include "platform/gx.h"
#include "platform/internal.h"
#include "platform/record.h"
#include "platform/win32/win32_internal.h"

#include <cstring>

static uint16_t frame[240 * 320];

// A top-down 565 bitmap: the three masks follow the header.
struct Win32FrameInfo {
    BITMAPINFOHEADER header;
    DWORD masks[3];
};

static const Win32FrameInfo frameInfo = {
    { sizeof(BITMAPINFOHEADER), 240, -320, 1, 16, BI_BITFIELDS, 0, 0, 0, 0, 0 },
    { 0xF800, 0x07E0, 0x001F },
};

// The largest whole-number scale that fits the client area, centred.
Win32Layout Win32LayoutNow()
{
    RECT client = { 0, 0, 240, 320 };
    if (win32Video.hwnd)
        GetClientRect(win32Video.hwnd, &client);
    int w = (int)client.right, h = (int)client.bottom;
    int scale = w / 240 < h / 320 ? w / 240 : h / 320;
    if (scale < 1)
        scale = 1;
    return { (w - 240 * scale) / 2, (h - 320 * scale) / 2, scale };
}

// StretchDIBits in COLORONCOLOR mode repeats whole pixels at a whole scale.
void Win32Paint(HDC dc)
{
    Win32Layout layout = Win32LayoutNow();
    RECT client;
    GetClientRect(win32Video.hwnd, &client);
    HBRUSH black = (HBRUSH)GetStockObject(BLACK_BRUSH);
    int right = layout.x + 240 * layout.scale, bottom = layout.y + 320 * layout.scale;
    RECT bars[4] = {
        { 0, 0, client.right, layout.y },
        { 0, bottom, client.right, client.bottom },
        { 0, layout.y, layout.x, bottom },
        { right, layout.y, client.right, bottom },
    };
    for (const RECT& bar : bars)
        if (bar.right > bar.left && bar.bottom > bar.top)
            FillRect(dc, &bar, black);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, layout.x, layout.y, 240 * layout.scale, 320 * layout.scale, 0, 0, 240, 320, frame,
                  (const BITMAPINFO*)&frameInfo, DIB_RGB_COLORS, SRCCOPY);
}

const uint16_t* Win32LastFrame()
{
    return frame;
}

// Full screen is a borderless window over the whole monitor; the window's
// frame and place come back after.
void Win32ToggleFullscreen()
{
    HWND hwnd = win32Video.hwnd;
    if (!hwnd)
        return;
    if (!win32Video.fullscreen) {
        MONITORINFO monitor = { sizeof monitor, {}, {}, 0 };
        if (!GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor))
            return;
        GetWindowRect(hwnd, &win32Video.windowed);
        SetWindowLongPtrW(hwnd, GWL_STYLE, WS_POPUP | WS_VISIBLE);
        const RECT& r = monitor.rcMonitor;
        SetWindowPos(hwnd, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
    } else {
        SetWindowLongPtrW(hwnd, GWL_STYLE, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        const RECT& r = win32Video.windowed;
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOOWNERZORDER);
    }
    win32Video.fullscreen ^= 1;
    InvalidateRect(hwnd, nullptr, FALSE);
}

GXDisplayProperties GXGetDisplayProperties()
{
    return { 240, 320, 2, 480, 16, kfDirect | kfDirect565 };
}

int GXOpenDisplay(Window*, uint32_t)
{
    return GXGateOpen(win32Video.hwnd != nullptr);
}

void* GXBeginDraw()
{
    return GXGateBegin() ? frame : nullptr;
}

int GXEndDraw()
{
    if (!GXGateEnd())
        return 0;
    RecordFrame(frame);
    if (win32Video.hwnd) {
        HDC dc = GetDC(win32Video.hwnd);
        Win32Paint(dc);
        ReleaseDC(win32Video.hwnd, dc);
    }
    Win32PumpEvents();
    return 1;
}
