// screen_readers.cpp: the accessible tree on request, and the message as a live region.
#include "screen_readers.h"

#include <ole2.h>

namespace front::win32 {

namespace {

// UI Automation's LiveSetting property, and its value for a region whose
// changes are spoken once the screen reader has finished what it is saying.
const GUID kLiveSetting = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG kPolite = 1;
// oleacc's annotation service, named here: MinGW's import libraries lack it.
const CLSID kAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
const IID kAccPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};

// Posted to the window: say the message now. The greeting waits for it, so
// that it comes after the window and its focused button have been told of.
UINT sayMessage() {
    static const UINT message = RegisterWindowMessageW(L"yopo: say the message");
    return message;
}

} // namespace

ScreenReaders::ScreenReaders(const forms::Form& form, const runtime::Announcements& announcements,
                             ButtonWindows buttonWindow)
    : m_form(form), m_buttonWindow(std::move(buttonWindow)), m_announcements(announcements) {}

ScreenReaders::~ScreenReaders() {
    forget(nullptr);
}

std::optional<LRESULT> ScreenReaders::handle(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == sayMessage()) {
        NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, window, OBJID_CLIENT,
                       messageChildId(m_form, m_announcements));
        return 0;
    }
    switch (message) {
    case WM_GETOBJECT:
        // Object ids are 32-bit and come zero- or sign-extended.
        if (static_cast<DWORD>(l) == static_cast<DWORD>(OBJID_CLIENT)) {
            if (m_tree == nullptr) {
                m_tree = new WindowAccessible(window, m_form, m_announcements, m_buttonWindow);
            }
            return LresultFromObject(__uuidof(IAccessible), w, m_tree);
        }
        break;
    case WM_SHOWWINDOW:
        if (w) {
            markLive(window);
        }
        break;
    case WM_DESTROY:
        forget(window);
        break;
    default:
        break;
    }
    return std::nullopt;
}

void ScreenReaders::messageChanged(HWND window) {
    if (window != nullptr) {
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT,
                       messageChildId(m_form, m_announcements));
    }
}

void ScreenReaders::announce(HWND window, bool later) {
    if (window == nullptr) {
        return;
    }
    if (later) {
        PostMessageW(window, sayMessage(), 0, 0);
    } else {
        NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, window, OBJID_CLIENT,
                       messageChildId(m_form, m_announcements));
    }
}

// UI Automation reads the message as a polite live region, from the
// annotation oleacc keeps for the window's child.
void ScreenReaders::markLive(HWND window) {
    if (m_annotations != nullptr ||
        FAILED(CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                kAccPropServicesInterface,
                                reinterpret_cast<void**>(&m_annotations)))) {
        return;
    }
    VARIANT polite;
    VariantInit(&polite);
    polite.vt = VT_I4;
    polite.lVal = kPolite;
    m_annotations->SetHwndProp(window, static_cast<DWORD>(OBJID_CLIENT),
                               static_cast<DWORD>(messageChildId(m_form, m_announcements)),
                               kLiveSetting, polite);
}

void ScreenReaders::forget(HWND window) {
    if (m_tree != nullptr) {
        m_tree->detach();
        // Screen readers still holding the tree are told it is gone.
        CoDisconnectObject(m_tree, 0);
        m_tree->Release();
        m_tree = nullptr;
    }
    if (m_annotations != nullptr) {
        if (window != nullptr) {
            m_annotations->ClearHwndProps(
                window, static_cast<DWORD>(OBJID_CLIENT),
                static_cast<DWORD>(messageChildId(m_form, m_announcements)), &kLiveSetting, 1);
        }
        m_annotations->Release();
        m_annotations = nullptr;
    }
}

} // namespace front::win32
