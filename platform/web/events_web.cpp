// Web input: the page's keys, clicks, touches, focus and on-screen controls become the game's messages.
#include "platform/backend.h"
#include "platform/gx.h"
#include "platform/pad.h"
#include "platform/record.h"
#include "platform/web/web_internal.h"
#include "platform/win.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstring>

struct WebKeyDef {
    const char* code;   // KeyboardEvent.code: the key's place, whatever the layout
    int virtualKey;
};

static const WebKeyDef WebKeyTable[] = {
    { "ArrowUp", KeyUp },     { "ArrowDown", KeyDown },  { "ArrowLeft", KeyLeft }, { "ArrowRight", KeyRight },
    { "Space", KeyFire },     { "KeyZ", KeyFire },       { "ControlLeft", KeyFire },
    { "KeyX", KeyLockOn },    { "ShiftLeft", KeyLockOn },
    { "Escape", KeyMenu },    { "KeyP", KeyMenu },
};

enum WebEventKind { EventKey, EventStylus, EventFocus, EventControl };

struct WebEvent {
    WebEventKind kind;
    uint32_t message;   // EventKey, EventStylus: the message to post
    int a;              // key, x, active flag or control key
    int b;              // repeat flag, y or down flag
};

enum : int {
    eventCapacity = 256,
    keyCount = 256,
    repeatDelayMs = 500,
    repeatEveryMs = 50,
};

// Filled by the page's handlers, emptied by WebPumpInput; both run on the
// page's one thread, so a plain ring will do. A full ring drops input.
static WebEvent events[eventCapacity];
static int eventHead, eventCount;

static uint8_t keyboardHeld[keyCount];
static uint8_t controlHeld[keyCount];   // the on-screen controls
static uint32_t repeatDue[keyCount];    // the next key-down of a held control
static int active = 1;
static int touchId = -1;                // the touch working the stylus on the picture

static void WebQueue(WebEventKind kind, uint32_t message, int a, int b)
{
    if (eventCount == eventCapacity)
        return;
    events[(eventHead + eventCount++) % eventCapacity] = { kind, message, a, b };
}

int WebInputPending()
{
    return eventCount;
}

static int WebVirtualKey(const char* code)
{
    for (const WebKeyDef& def : WebKeyTable)
        if (!strcmp(def.code, code))
            return def.virtualKey;
    return 0;
}

static EM_BOOL WebKeyEvent(int type, const EmscriptenKeyboardEvent* event, void*)
{
    int key = WebVirtualKey(event->code);
    if (!key)
        return 0;   // the page's own keys (F11, F12, M) and the browser's
    WebQueue(EventKey, type == EMSCRIPTEN_EVENT_KEYDOWN ? WM_KEYDOWN : WM_KEYUP, key, event->repeat);
    return 1;       // no scrolling by arrows or Space
}

// A point in the canvas's CSS pixels to the 240 x 320 frame, clamped to its edges.
static void WebToFrame(double x, double y, int* frameX, int* frameY)
{
    double w = 240, h = 320;
    emscripten_get_element_css_size("#canvas", &w, &h);
    int fx = w > 0 ? (int)(x * 240 / w) : 0, fy = h > 0 ? (int)(y * 320 / h) : 0;
    *frameX = fx < 0 ? 0 : fx > 239 ? 239 : fx;
    *frameY = fy < 0 ? 0 : fy > 319 ? 319 : fy;
}

// Using the mouse or a finger hands the screens back from the pad's pointer.
static void WebQueueStylus(uint32_t message, double x, double y)
{
    int fx, fy;
    WebToFrame(x, y, &fx, &fy);
    PadMouseUsed(fx, fy);
    WebQueue(EventStylus, message, fx, fy);
}

static EM_BOOL WebMouseEvent(int type, const EmscriptenMouseEvent* event, void*)
{
    if (type == EMSCRIPTEN_EVENT_MOUSEMOVE)
        WebQueueStylus(WM_MOUSEMOVE, event->targetX, event->targetY);
    else if (event->button == 0)
        WebQueueStylus(type == EMSCRIPTEN_EVENT_MOUSEDOWN ? WM_LBUTTONDOWN : WM_LBUTTONUP, event->targetX,
                       event->targetY);
    return 1;
}

// The first finger on the picture is the stylus; others there are ignored.
// Handled touches make no mouse events, scrolling or zooming.
static EM_BOOL WebTouchEvent(int type, const EmscriptenTouchEvent* event, void*)
{
    for (int i = 0; i < event->numTouches; i++) {
        const EmscriptenTouchPoint& touch = event->touches[i];
        if (!touch.isChanged)
            continue;
        if (type == EMSCRIPTEN_EVENT_TOUCHSTART && touchId < 0) {
            touchId = touch.identifier;
            WebQueueStylus(WM_LBUTTONDOWN, touch.targetX, touch.targetY);
        } else if (touch.identifier == touchId) {
            if (type == EMSCRIPTEN_EVENT_TOUCHMOVE) {
                WebQueueStylus(WM_MOUSEMOVE, touch.targetX, touch.targetY);
            } else {
                WebQueueStylus(WM_LBUTTONUP, touch.targetX, touch.targetY);
                touchId = -1;
            }
        }
    }
    return 1;
}

static EM_BOOL WebFocusEvent(int type, const EmscriptenFocusEvent*, void*)
{
    WebQueue(EventFocus, 0, type == EMSCRIPTEN_EVENT_FOCUS, 0);
    return 0;
}

static EM_BOOL WebVisibilityEvent(int, const EmscriptenVisibilityChangeEvent* event, void*)
{
    WebQueue(EventFocus, 0, !event->hidden, 0);
    return 0;
}

// Called by the page's on-screen controls as fingers press and leave them.
extern "C" EMSCRIPTEN_KEEPALIVE void WebControlKey(int virtualKey, int down)
{
    if (virtualKey > 0 && virtualKey < keyCount)
        WebQueue(EventControl, 0, virtualKey, down != 0);
}

void WebInputStart()
{
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(window, nullptr, 1, WebKeyEvent);
    emscripten_set_keyup_callback(window, nullptr, 1, WebKeyEvent);
    emscripten_set_mousedown_callback("#canvas", nullptr, 1, WebMouseEvent);
    emscripten_set_mouseup_callback("#canvas", nullptr, 1, WebMouseEvent);
    emscripten_set_mousemove_callback("#canvas", nullptr, 1, WebMouseEvent);
    emscripten_set_touchstart_callback("#canvas", nullptr, 1, WebTouchEvent);
    emscripten_set_touchend_callback("#canvas", nullptr, 1, WebTouchEvent);
    emscripten_set_touchmove_callback("#canvas", nullptr, 1, WebTouchEvent);
    emscripten_set_touchcancel_callback("#canvas", nullptr, 1, WebTouchEvent);
    emscripten_set_focus_callback(window, nullptr, 1, WebFocusEvent);
    emscripten_set_blur_callback(window, nullptr, 1, WebFocusEvent);
    emscripten_set_visibilitychange_callback(nullptr, 1, WebVisibilityEvent);
}

static void WebPostKey(int key, int down, int repeat)
{
    MessagePost(webOwner, down ? WM_KEYDOWN : WM_KEYUP, (uintptr_t)key, 1 | (repeat ? 1 << 30 : 0));
}

// A control held repeats its key as a keyboard would; the keyboard repeats its own.
static void WebHoldControl(int key, int down)
{
    if (controlHeld[key] == down)
        return;
    controlHeld[key] = (uint8_t)down;
    if (down)
        repeatDue[key] = BackendNow() + repeatDelayMs;
    WebPostKey(key, down, 0);
}

// Losing the page's focus loses the key-ups too: every held key comes up.
static void WebSetActive(int nowActive)
{
    if (nowActive == active)
        return;
    active = nowActive;
    if (!active)
        for (int key = 0; key < keyCount; key++) {
            if (keyboardHeld[key])
                WebPostKey(key, 0, 0);
            keyboardHeld[key] = 0;
            WebHoldControl(key, 0);
        }
    WindowSetForegroundState(active ? webOwner : nullptr);
    MessagePost(webOwner, WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
}

void WebPumpInput()
{
    if (!webOwner)
        return;
    RecordPumpBegin();
    for (; eventCount; eventCount--, eventHead = (eventHead + 1) % eventCapacity) {
        const WebEvent& event = events[eventHead];
        switch (event.kind) {
        case EventKey:
            keyboardHeld[event.a] = event.message == WM_KEYDOWN;
            WebPostKey(event.a, event.message == WM_KEYDOWN, event.b);
            break;
        case EventStylus:
            MessagePost(webOwner, event.message, event.message == WM_LBUTTONDOWN, (intptr_t)(event.b << 16 | event.a));
            break;
        case EventFocus:
            WebSetActive(event.a);
            break;
        case EventControl:
            WebHoldControl(event.a, event.b);
            break;
        }
    }
    WebPadUpdate();
    uint32_t now = BackendNow();
    for (int key = 0; key < keyCount; key++)
        if (controlHeld[key] && (int32_t)(now - repeatDue[key]) >= 0) {
            repeatDue[key] = now + repeatEveryMs;
            WebPostKey(key, 1, 1);
        }
    RecordPumpEnd();
}

int16_t InputKeyState(int virtualKey)
{
    if (virtualKey >= KeyLeft && virtualKey <= KeyDown)
        PadSteerPolled(BackendNow());
    int held = virtualKey > 0 && virtualKey < keyCount &&
               (keyboardHeld[virtualKey] || controlHeld[virtualKey] || PadKeyHeld(virtualKey));
    return RecordKey(virtualKey, held ? (int16_t)0x8000 : 0);
}
