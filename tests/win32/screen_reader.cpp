// screen_reader.cpp: yopo.exe as a Windows screen reader finds it. Starts the
// game twice and, from outside its process as a screen reader would, walks the
// window's accessible tree (names, roles, states and places as the game
// changes them), presses the buttons through it, and hears each new message
// as its live region changes: the greeting once the window is active, a key
// press's message, a tick's message once however often the tick repeats it,
// and the flood's message once over all its shake steps.
//   screen_reader YOPO_EXE
// Prints what it checks and what this Windows leaves out; fails if a check
// does not hold.
#include <windows.h>

#include <objbase.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace {

// UTF-8 for the log.
std::string utf8(const std::wstring& wide) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

int g_failures = 0;

void check(bool holds, const std::wstring& what) {
    std::printf("  %s %s\n", holds ? "ok    " : "NOT SO", utf8(what).c_str());
    g_failures += holds ? 0 : 1;
}

// What this Windows does not show, said rather than failed: Wine leaves much out.
void note(const std::wstring& what) {
    std::printf("  note   %s\n", utf8(what).c_str());
}

// ---------------------------------------------------------------- hearing the live region

struct Heard {
    HWND window;
    LONG object;
    LONG child;
};
DWORD g_game = 0;
std::deque<Heard> g_pending;
std::vector<std::wstring> g_heard;

void CALLBACK liveRegionChanged(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                                DWORD) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == g_game) {
        g_pending.push_back({window, object, child}); // read once out of the hook
    }
}

std::wstring nameOf(IAccessible* object, VARIANT id) {
    BSTR name = nullptr;
    std::wstring text = L"(no name)";
    if (SUCCEEDED(object->get_accName(id, &name)) && name != nullptr) {
        text.assign(name, SysStringLen(name));
        SysFreeString(name);
    }
    return text;
}

// What a screen reader speaks for each change: the source's name, read as it comes.
void readPending() {
    while (!g_pending.empty()) {
        const Heard event = g_pending.front();
        g_pending.pop_front();
        IAccessible* source = nullptr;
        VARIANT id;
        VariantInit(&id);
        if (SUCCEEDED(AccessibleObjectFromEvent(event.window, static_cast<DWORD>(event.object),
                                                static_cast<DWORD>(event.child), &source, &id))) {
            g_heard.push_back(nameOf(source, id));
            source->Release();
        } else {
            g_heard.push_back(L"(no source)");
        }
        VariantClear(&id);
    }
}

// Lets the window's events come in for `milliseconds`, or until `done`.
bool pumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
    const ULONGLONG until = GetTickCount64() + milliseconds;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        readPending();
        if (done && done()) {
            return true;
        }
        if (GetTickCount64() >= until) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::ptrdiff_t timesHeard(const std::wstring& words) {
    return std::count(g_heard.begin(), g_heard.end(), words);
}

bool heard(const std::wstring& words) {
    return timesHeard(words) > 0;
}

void listHeard() {
    for (const std::wstring& said : g_heard) {
        std::printf("  heard  %s\n", utf8(said).c_str());
    }
}

// ---------------------------------------------------------------- the game and its tree

struct Game {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
    IAccessible* client = nullptr;

    ~Game() {
        if (client != nullptr) {
            client->Release();
        }
        if (process.hProcess != nullptr) {
            // Closed as the player closes it, so that no bath is kept for
            // the next game; killed only if it will not go.
            if (window != nullptr) {
                PostMessageW(window, WM_CLOSE, 0, 0);
            }
            if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) {
                TerminateProcess(process.hProcess, 0);
                WaitForSingleObject(process.hProcess, 5000);
            }
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
    }
};

BOOL CALLBACK findGame(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t kind[32] = {};
    GetClassNameW(window, kind, 32);
    if (process == g_game && std::wstring(kind) == L"YopoForm" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Starts yopo.exe with its clock `timeScale` times faster and waits for its window.
bool start(Game& game, const std::wstring& yopo, const wchar_t* timeScale) {
    g_heard.clear();
    SetEnvironmentVariableW(L"YOPO_TIME_SCALE", timeScale);
    std::wstring command = L"\"" + yopo + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &game.process)) {
        check(false, L"yopo.exe starts");
        return false;
    }
    g_game = game.process.dwProcessId;
    const bool shown = pumpUntil(
        [&] {
            EnumWindows(findGame, reinterpret_cast<LPARAM>(&game.window));
            return game.window != nullptr;
        },
        30000);
    check(shown, L"its window opens");
    if (!shown) {
        return false;
    }
    const HRESULT got = AccessibleObjectFromWindow(game.window, OBJID_CLIENT, __uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&game.client));
    check(SUCCEEDED(got) && game.client != nullptr, L"its client area is an accessible object");
    return game.client != nullptr;
}

VARIANT childId(LONG id) {
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_I4;
    variant.lVal = id;
    return variant;
}

std::wstring hex(HRESULT result) {
    wchar_t text[16];
    swprintf(text, 16, L"0x%08lx", static_cast<unsigned long>(result));
    return text;
}

std::wstring roleName(LONG role) {
    switch (role) {
    case ROLE_SYSTEM_PUSHBUTTON:
        return L"push button";
    case ROLE_SYSTEM_STATICTEXT:
        return L"text";
    case ROLE_SYSTEM_GRAPHIC:
        return L"graphic";
    case ROLE_SYSTEM_CLIENT:
        return L"client";
    case ROLE_SYSTEM_WINDOW:
        return L"window";
    default:
        return L"role " + std::to_wstring(role);
    }
}

LONG number(IAccessible* object, VARIANT id,
            HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) {
    VARIANT value;
    VariantInit(&value);
    const HRESULT got = (object->*get)(id, &value);
    const LONG result = SUCCEEDED(got) && value.vt == VT_I4 ? value.lVal : -1;
    VariantClear(&value);
    return result;
}

// A child as the window's own object tells of it: "role name (states)".
std::wstring describe(IAccessible* window, LONG id) {
    const VARIANT child = childId(id);
    std::wstring text =
        roleName(number(window, child, &IAccessible::get_accRole)) + L" " + nameOf(window, child);
    const LONG state = number(window, child, &IAccessible::get_accState);
    if (state & STATE_SYSTEM_INVISIBLE) {
        text += L" (invisible)";
    }
    if (state & STATE_SYSTEM_UNAVAILABLE) {
        text += L" (unavailable)";
    }
    return text;
}

std::vector<std::wstring> tree(IAccessible* window) {
    LONG count = 0;
    window->get_accChildCount(&count);
    std::vector<VARIANT> children(static_cast<std::size_t>(count));
    LONG obtained = 0;
    AccessibleChildren(window, 0, count, children.data(), &obtained);
    std::vector<std::wstring> described;
    for (LONG i = 0; i < obtained; ++i) {
        described.push_back(describe(window, i + 1));
        VariantClear(&children[static_cast<std::size_t>(i)]);
    }
    return described;
}

void checkTree(IAccessible* window, const std::vector<std::wstring>& expected,
               const std::wstring& what) {
    const bool same = pumpUntil([&] { return tree(window) == expected; }, 5000);
    check(same, what);
    if (!same) {
        for (const std::wstring& child : tree(window)) {
            std::printf("           %s\n", utf8(child).c_str());
        }
    }
}

// What the system's own object for a BUTTON window says of it.
void checkButtonsOwnObject(HWND window, const wchar_t* caption, bool enabled) {
    HWND button = FindWindowExW(window, nullptr, L"BUTTON", caption);
    IAccessible* own = nullptr;
    if (button == nullptr ||
        FAILED(AccessibleObjectFromWindow(button, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&own)))) {
        check(false, std::wstring(L"the BUTTON ") + caption + L" has an object of its own");
        return;
    }
    const VARIANT self = childId(CHILDID_SELF);
    const LONG state = number(own, self, &IAccessible::get_accState);
    check(nameOf(own, self) == caption && ((state & STATE_SYSTEM_UNAVAILABLE) != 0) == !enabled,
          std::wstring(L"the BUTTON's own object: ") + caption +
              (enabled ? L", available" : L", unavailable"));
    const LONG role = number(own, self, &IAccessible::get_accRole);
    if (role != ROLE_SYSTEM_PUSHBUTTON) {
        note(L"the BUTTON's own object has the role " + roleName(role) + L", not push button");
    }
    // AccessibleChildren hands the button over as its window's object.
    IAccessible* frame = nullptr;
    if (SUCCEEDED(AccessibleObjectFromWindow(button, OBJID_WINDOW, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&frame)))) {
        BSTR name = nullptr;
        const HRESULT named = frame->get_accName(self, &name);
        if (FAILED(named)) {
            note(
                L"the BUTTON's window object, as AccessibleChildren gives it, has no name (error " +
                hex(named) + L"): its name and state are read here from the window's object");
        }
        SysFreeString(name);
        frame->Release();
    }
    BSTR action = nullptr;
    if (own->get_accDefaultAction(self, &action) != S_OK || action == nullptr) {
        note(L"the BUTTON's own object has no default action: pressed here through the window's");
    }
    SysFreeString(action);
    own->Release();
}

void press(IAccessible* window, LONG id) {
    const HRESULT pressed = window->accDoDefaultAction(childId(id));
    check(SUCCEEDED(pressed), L"child " + std::to_wstring(id) + L"'s default action presses it");
}

// ---------------------------------------------------------------- the two games

const std::wstring kGreeting = L"さぁ、まずヨポに水を入れましょう。";
const std::wstring kTitle = L"text ヨポの達人";
const std::wstring kPortrait = L"graphic ヨポの達人の似顔絵";
const std::wstring kWord = L"graphic ヨポ";

// At 10 times the pace: the filling ticks come 0.6 s apart.
void openAndCloseTheTap(const std::wstring& yopo) {
    std::printf("the tap opens and closes\n");
    Game game;
    if (!start(game, yopo, L"10")) {
        return;
    }
    IAccessible* window = game.client;
    check(pumpUntil([] { return !g_heard.empty(); }, 10000) && g_heard.front() == kGreeting,
          L"the greeting is heard once the window is active");
    check(nameOf(window, childId(CHILDID_SELF)) == L"ヨポ", L"the window is named ヨポ");
    checkTree(window,
              {L"push button 水を入れる", L"push button 沸かす", kTitle, L"text " + kGreeting,
               L"push button 次へ (invisible)", kPortrait, kWord},
              L"its children: buttons and labels in tab order, then the pictures from the top");

    // The portrait stands where it is painted, at 96 dpi.
    LONG left = 0, top = 0, width = 0, height = 0;
    window->accLocation(&left, &top, &width, &height, childId(6));
    POINT corner{0, 0};
    ClientToScreen(game.window, &corner);
    check(left == corner.x + 368 && top == corner.y + 8 && width == 99 && height == 131,
          L"the portrait is where it is painted");

    press(window, 1);
    checkTree(window,
              {L"push button 水を止める", L"push button 沸かす (unavailable)", kTitle,
               L"text 水を入れ始めました。", L"push button 次へ (invisible)", kPortrait, kWord},
              L"the tap open: 水を止める, 沸かす unavailable, the new message");
    checkButtonsOwnObject(game.window, L"沸かす", false);
    check(pumpUntil([] { return heard(L"水を入れ始めました。"); }, 5000),
          L"the message the button brings is heard");
    // Some five ticks say 水を入れています。 again and again.
    pumpUntil(nullptr, 3500);
    check(timesHeard(L"水を入れています。") == 1, L"the ticks' message is heard once");

    press(window, 1);
    const std::wstring closed = L"水を入れ終わりました。\n引き続き、湯を沸かしましょう。";
    checkTree(window,
              {L"push button 水を止める (unavailable)", L"push button 沸かす", kTitle,
               L"text " + closed, L"push button 次へ (invisible)", kPortrait, kWord},
              L"the tap closed: 沸かす available, the two-line message");
    check(pumpUntil([&] { return heard(closed); }, 5000),
          L"the two-line message is heard with a plain line break");
    listHeard();
}

// At 300 times the pace: the tub runs over within seconds, and the shake
// steps come every millisecond.
void theFlood(const std::wstring& yopo) {
    std::printf("the flood\n");
    Game game;
    if (!start(game, yopo, L"300")) {
        return;
    }
    pumpUntil([] { return !g_heard.empty(); }, 10000);
    press(game.client, 1);
    const std::wstring flood = L"大洪水です！！\n30年に一度の大洪水です！！";
    check(pumpUntil([&] { return heard(flood); }, 60000), L"the flood's message is heard");
    // The flood's tick writes its message again at every shake step, a
    // millisecond apart at this pace.
    pumpUntil(nullptr, 1500);
    // The first message may be read after the first tick has replaced it.
    const std::vector<std::wstring> bands = {L"そろそろ止めていいころじゃないでしょうか。",
                                             L"ちょっと入れすぎました、早く止めましょう。",
                                             L"危険です！溢れます！！", flood};
    const bool inOrder =
        g_heard.size() >= bands.size() &&
        std::vector<std::wstring>(g_heard.end() - static_cast<std::ptrdiff_t>(bands.size()),
                                  g_heard.end()) == bands;
    check(inOrder && timesHeard(flood) == 1,
          L"each band's message once, and the flood's once for all its shake steps");
    listHeard();
}

// The message's LiveSetting is an annotation, which only UI Automation reads
// back; whether the annotation service takes one at all, a window of our own shows.
void noteAnnotations() {
    IAccPropServices* services = nullptr;
    const CLSID service = {
        0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
    const IID servicesInterface = {
        0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
    if (FAILED(CoCreateInstance(service, nullptr, CLSCTX_INPROC_SERVER, servicesInterface,
                                reinterpret_cast<void**>(&services)))) {
        note(L"this Windows has no annotation service: the message is no live region to UI "
             L"Automation");
        return;
    }
    HWND window = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    VARIANT name;
    VariantInit(&name);
    name.vt = VT_BSTR;
    name.bstrVal = SysAllocString(L"live");
    const HRESULT set = services->SetHwndProp(window, static_cast<DWORD>(OBJID_CLIENT),
                                              CHILDID_SELF, PROPID_ACC_NAME, name);
    if (FAILED(set)) {
        note(L"this Windows' annotation service takes no property (error " + hex(set) +
             L"): the message's LiveSetting, Polite, cannot be set, so UI Automation would not "
             L"see a live region");
    }
    VariantClear(&name);
    DestroyWindow(window);
    services->Release();
    // Narrator hears a live region through UI Automation, whose client would
    // read the LiveSetting and watch for the live region's own event.
    const CLSID automation = {
        0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
    IUnknown* client = nullptr;
    const HRESULT made = CoCreateInstance(automation, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                          reinterpret_cast<void**>(&client));
    if (FAILED(made)) {
        note(L"this Windows has no UI Automation client (error " + hex(made) +
             L"): what UI Automation makes of the live region cannot be watched");
    } else {
        client->Release();
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: screen_reader YOPO_EXE\n");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr,
                        liveRegionChanged, 0, 0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    check(hook != nullptr, L"a screen reader's hook on live regions");
    openAndCloseTheTap(argv[1]);
    theFlood(argv[1]);
    noteAnnotations();
    UnhookWinEvent(hook);
    CoUninitialize();
    std::printf("%d checks failed\n", g_failures);
    return g_failures == 0 ? 0 : 1;
}
