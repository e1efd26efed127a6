// win32_runtime.cpp: the window, its buttons, its clock and its errors on Win32.
#include "win32_runtime.h"

#include "focus.h"
#include "japanese_font.h"
#include "opening_place.h"
#include "resource_ids.h"
#include "start_up.h"
#include "utf16.h"

#include <algorithm>
#include <cstdio>

namespace front::win32 {

using forms::ControlKind;
using forms::fontPixels;
using forms::kDefaultFontSize;
using forms::Label;
using forms::toPixels;
using forms::toTwips;

namespace {

constexpr wchar_t kWindowClass[] = L"YopoForm";
// A fixed single border with the close box only: no sizing frame, no
// minimise or maximise box.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = 0;
constexpr double kLayoutDpi = USER_DEFAULT_SCREEN_DPI;

// A player who switches off "Show animations in Windows" (Accessibility,
// Visual effects) switches off client-area animations, and so asks for
// reduced motion.
bool wantsReducedMotion() {
    BOOL animations = TRUE;
    if (!SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &animations, 0)) {
        return false;
    }
    return animations == FALSE;
}

} // namespace

Win32Runtime::Win32Runtime(Form& form, FormEvents& events)
    : runtime::Runtime(form, events), m_form(form), m_metrics(std::make_shared<GdiTextMetrics>()),
      m_view(form, *m_metrics, m_pictures),
      m_screenReaders(form, announcements(), [this](const CommandButton& button) -> HWND {
          for (const auto& [control, widget] : m_buttons) {
              if (control == &button) {
                  return widget;
              }
          }
          return nullptr;
      }) {
    m_form.setTextMetrics(m_metrics);
    m_form.addObserver(this);
}

Win32Runtime::~Win32Runtime() {
    m_form.removeObserver(this);
    if (m_window != nullptr) {
        DestroyWindow(m_window);
    }
    if (m_buttonFont != nullptr) {
        DeleteObject(m_buttonFont);
    }
}

double Win32Runtime::ratio() const {
    return m_dpi / kLayoutDpi;
}

std::optional<std::string> Win32Runtime::damagedPictures() {
    return runtime::damagedPictures(m_form, [this](const std::string& name) {
        if (name == m_form.icon()) {
            return LoadIconW(GetModuleHandleW(nullptr), YOPO_RES_WINDOW_ICON) != nullptr;
        }
        return m_pictures.decodes(name);
    });
}

bool Win32Runtime::start() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIconW(instance, YOPO_RES_WINDOW_ICON);
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, YOPO_RES_WINDOW_ICON, IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);

    // Created on the primary screen, hidden, so that its buttons exist for
    // Form_Load and its size follows that screen's DPI.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    m_window = CreateWindowExW(kWindowExStyle, kWindowClass, toWide(m_form.caption()).c_str(),
                               kWindowStyle, monitor.rcWork.left, monitor.rcWork.top, 100, 100,
                               nullptr, nullptr, instance, this);
    if (m_window == nullptr) {
        return false;
    }
    m_dpi = GetDpiForWindow(m_window);
    readMotionPreference();
    createButtons();
    layOut();
    if (!raiseLoad() || error()) {
        return true;
    }
    RECT outer{};
    GetWindowRect(m_window, &outer);
    const RECT& work = monitor.rcWork;
    const runtime::ScreenPlace place =
        runtime::openingPlace({work.left, work.top, work.right - work.left, work.bottom - work.top},
                              outer.right - outer.left, outer.bottom - outer.top);
    SetWindowPos(m_window, nullptr, place.x, place.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(m_window, SW_SHOWNORMAL);
    UpdateWindow(m_window);
    GetWindowRect(m_window, &outer);
    windowPlaced(outer.left, outer.top);
    focusOn(runtime::firstFocus(m_form));
    return true;
}

int Win32Runtime::run() {
    for (;;) {
        HANDLE alarm = m_alarm.handle();
        const DWORD count = m_alarm.isSet() ? 1 : 0;
        const DWORD woken =
            MsgWaitForMultipleObjectsEx(count, &alarm, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (count == 1 && woken == WAIT_OBJECT_0 && m_alarm.rang()) {
            wake();
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                return static_cast<int>(message.wParam);
            }
            if (reportedKey(message)) {
                continue;
            }
            // Tab and Shift+Tab among the buttons, as in a dialog.
            if (m_window == nullptr || !IsDialogMessageW(m_window, &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }
}

void Win32Runtime::runTimeError(const RunTimeError& error) {
    runtime::printRunTimeError(error);
    // The handler has already stopped; the program ends once the player has read why.
    m_exitStatus = runtime::kRunTimeErrorStatus;
    MessageBoxW(m_window, toWide(error.report()).c_str(), toWide(m_form.caption()).c_str(),
                MB_OK | MB_ICONERROR);
    if (m_window != nullptr) {
        DestroyWindow(m_window);
    } else {
        PostQuitMessage(m_exitStatus);
    }
}

LRESULT CALLBACK Win32Runtime::windowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(l);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* runtime = reinterpret_cast<Win32Runtime*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (runtime == nullptr || runtime->m_window != window) {
        return DefWindowProcW(window, message, w, l);
    }
    return runtime->handle(message, w, l);
}

LRESULT Win32Runtime::handle(UINT message, WPARAM w, LPARAM l) {
    if (const std::optional<LRESULT> answer = m_screenReaders.handle(m_window, message, w, l)) {
        return *answer;
    }
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(m_window, &paint);
        m_view.paint(dc, ratio());
        EndPaint(m_window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1; // every paint covers the whole client area
    case WM_COMMAND:
        if (HIWORD(w) == BN_CLICKED) {
            click(LOWORD(w));
        }
        return 0;
    case WM_WINDOWPOSCHANGED: {
        const auto* position = reinterpret_cast<const WINDOWPOS*>(l);
        if ((position->flags & SWP_NOMOVE) == 0) {
            windowPlaced(position->x, position->y);
        }
        break;
    }
    case WM_DPICHANGED: {
        m_dpi = HIWORD(w);
        const auto* suggested = reinterpret_cast<const RECT*>(l);
        SetWindowPos(m_window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        layOut();
        return 0;
    }
    case WM_SETTINGCHANGE:
        readMotionPreference();
        break;
    case WM_SHOWWINDOW:
        if (w) {
            windowShown();
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(w) == WA_INACTIVE) {
            keyboardLost();
        } else {
            windowActivated();
        }
        break;
    case WM_CLOSE:
        if (onClose) {
            onClose();
        }
        DestroyWindow(m_window);
        return 0;
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
        if (onSessionEnd && (message == WM_QUERYENDSESSION || w != 0)) {
            onSessionEnd();
        }
        return message == WM_QUERYENDSESSION ? TRUE : 0;
    case WM_DESTROY:
        m_alarm.ringAt(std::nullopt);
        m_window = nullptr;
        PostQuitMessage(m_exitStatus);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, w, l);
}

void Win32Runtime::windowPlaced(int x, int y) {
    // In the layout's pixels, as the game moves the window by them.
    m_form.windowStandsAt(toTwips(static_cast<int>(std::lround(x / ratio()))),
                          toTwips(static_cast<int>(std::lround(y / ratio()))));
}

void Win32Runtime::createButtons() {
    // Created in tab order, which is the order Tab visits them in.
    for (const CommandButton* button : runtime::tabOrder(m_form)) {
        const auto id = static_cast<std::intptr_t>(m_buttons.size() + 1);
        HWND widget = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 0,
                                      0, 0, 0, m_window, reinterpret_cast<HMENU>(id),
                                      GetModuleHandleW(nullptr), nullptr);
        m_buttons.emplace_back(button, widget);
    }
}

void Win32Runtime::layOut() {
    const double r = ratio();
    RECT outer{0, 0, 0, 0};
    const drawing::DeviceRect client =
        drawing::deviceRect({0, 0, m_form.clientWidth(), m_form.clientHeight()}, r);
    outer.right = client.width;
    outer.bottom = client.height;
    AdjustWindowRectExForDpi(&outer, kWindowStyle, FALSE, kWindowExStyle, m_dpi);
    SetWindowPos(m_window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_buttonFont != nullptr) {
        DeleteObject(m_buttonFont);
    }
    m_buttonFont =
        createFormFont(static_cast<int>(std::lround(fontPixels(kDefaultFontSize) * r)), false);
    for (const auto& [button, widget] : m_buttons) {
        SendMessageW(widget, WM_SETFONT, reinterpret_cast<WPARAM>(m_buttonFont), FALSE);
        syncButton(*button);
    }
    InvalidateRect(m_window, nullptr, FALSE);
}

void Win32Runtime::syncButton(const CommandButton& button) {
    const auto found = std::find_if(m_buttons.begin(), m_buttons.end(),
                                    [&](const auto& entry) { return entry.first == &button; });
    if (found == m_buttons.end()) {
        return;
    }
    HWND widget = found->second;
    const drawing::DeviceRect place = drawing::deviceRect(button.rect(), ratio());
    SetWindowTextW(widget, toWide(button.caption()).c_str());
    SetWindowPos(widget, nullptr, place.left, place.top, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    EnableWindow(widget, button.enabled() ? TRUE : FALSE);
    ShowWindow(widget, button.visible() ? SW_SHOWNA : SW_HIDE);
}

void Win32Runtime::click(WORD id) {
    if (id == 0 || id > m_buttons.size()) {
        return;
    }
    raiseClick(*m_buttons[id - 1].first);
}

// Taken before the dialog manager, which makes every repeat of a held
// Enter another IDOK, and before the buttons, which press on Space's up.
bool Win32Runtime::reportedKey(const MSG& message) {
    const bool down = message.message == WM_KEYDOWN;
    if (m_window == nullptr || (!down && message.message != WM_KEYUP) ||
        (message.wParam != VK_SPACE && message.wParam != VK_RETURN) ||
        (message.hwnd != m_window && !IsChild(m_window, message.hwnd))) {
        return false;
    }
    const runtime::Key key = message.wParam == VK_SPACE ? runtime::Key::Space : runtime::Key::Enter;
    const runtime::Milliseconds at = message.time;
    if (!down) {
        keyUp(key, at);
        return true;
    }
    keyDown(key, at, buttonOf(GetFocus()));
    return true;
}

void Win32Runtime::focusOn(const CommandButton* button) {
    HWND target = m_window;
    for (const auto& [control, widget] : m_buttons) {
        if (control == button) {
            target = widget;
            break;
        }
    }
    if (GetFocus() != target) {
        SetFocus(target);
    }
}

const CommandButton* Win32Runtime::buttonOf(HWND widget) const {
    for (const auto& [button, hosted] : m_buttons) {
        if (hosted == widget) {
            return button;
        }
    }
    return nullptr;
}

void Win32Runtime::controlChanged(const Control& control, Property) {
    switch (control.kind()) {
    case ControlKind::CommandButton:
        syncButton(static_cast<const CommandButton&>(control));
        return;
    case ControlKind::Timer:
        return;
    default:
        if (m_window != nullptr) {
            InvalidateRect(m_window, nullptr, FALSE);
        }
        return;
    }
}

void Win32Runtime::formChanged(Property property) {
    if (m_window != nullptr && property == Property::BackColor) {
        InvalidateRect(m_window, nullptr, FALSE);
    }
}

void Win32Runtime::readMotionPreference() {
    setReducedMotion(wantsReducedMotion());
}

void Win32Runtime::showContents(drawing::ContentsOffset, Colour ground) {
    // A Win32 program may always place its own window, so what it shows
    // never stands aside.
    if (m_view.setGround(ground) && m_window != nullptr) {
        InvalidateRect(m_window, nullptr, FALSE);
    }
}

void Win32Runtime::placeWindow(Twips left, Twips top) {
    if (m_window == nullptr) {
        return;
    }
    const double r = ratio();
    SetWindowPos(m_window, nullptr, static_cast<int>(std::lround(toPixels(left) * r)),
                 static_cast<int>(std::lround(toPixels(top) * r)), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace front::win32
