// window_accessible.cpp: the window's client area as IAccessible, read from the shared description.
#include "window_accessible.h"

#include "utf16.h"

#include <algorithm>
#include <cmath>

namespace front::win32 {

namespace {

using runtime::AccessibleNode;
using runtime::AccessibleRole;

constexpr double kLayoutDpi = USER_DEFAULT_SCREEN_DPI;

HRESULT text(std::string_view utf8, BSTR* out) {
    const std::wstring wide = toWide(utf8);
    *out = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

VARIANT number(LONG value) {
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_I4;
    variant.lVal = value;
    return variant;
}

LONG roleOf(AccessibleRole role) {
    switch (role) {
    case AccessibleRole::PushButton:
        return ROLE_SYSTEM_PUSHBUTTON;
    case AccessibleRole::StaticText:
        return ROLE_SYSTEM_STATICTEXT;
    case AccessibleRole::Graphic:
        return ROLE_SYSTEM_GRAPHIC;
    case AccessibleRole::Window:
    case AccessibleRole::Notification:
        break;
    }
    return ROLE_SYSTEM_CLIENT;
}

// The system's own answer about the client area itself, while the window lives.
template <typename Question>
HRESULT standard(IAccessible* area, Question question) {
    return area != nullptr ? question(area) : CO_E_OBJNOTCONNECTED;
}

} // namespace

std::vector<AccessibleNode> windowsChildren(const forms::Form& form,
                                            const runtime::Announcements& announcements) {
    std::vector<AccessibleNode> children = runtime::describeChildren(form, announcements);
    std::erase_if(children, [](const AccessibleNode& node) {
        return node.role == AccessibleRole::Notification;
    });
    return children;
}

LONG messageChildId(const forms::Form& form, const runtime::Announcements& announcements) {
    const std::vector<AccessibleNode> children = windowsChildren(form, announcements);
    const auto message =
        std::find_if(children.begin(), children.end(), [](const auto& node) { return node.live; });
    return message == children.end() ? CHILDID_SELF
                                     : static_cast<LONG>(message - children.begin() + 1);
}

WindowAccessible::WindowAccessible(HWND window, const forms::Form& form,
                                   const runtime::Announcements& announcements,
                                   ButtonWindows buttonWindow)
    : m_window(window), m_form(form), m_announcements(announcements),
      m_buttonWindow(std::move(buttonWindow)) {
    CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                              reinterpret_cast<void**>(&m_standard));
}

WindowAccessible::~WindowAccessible() {
    detach();
}

void WindowAccessible::detach() {
    m_window = nullptr;
    if (m_standard != nullptr) {
        m_standard->Release();
        m_standard = nullptr;
    }
}

bool WindowAccessible::find(const VARIANT& id, std::optional<AccessibleNode>& child) const {
    child.reset();
    if (m_window == nullptr || id.vt != VT_I4) {
        return false;
    }
    if (id.lVal == CHILDID_SELF) {
        return true;
    }
    std::vector<AccessibleNode> children = windowsChildren(m_form, m_announcements);
    if (id.lVal < 1 || static_cast<std::size_t>(id.lVal) > children.size()) {
        return false;
    }
    child = std::move(children[static_cast<std::size_t>(id.lVal - 1)]);
    return true;
}

HWND WindowAccessible::buttonOf(const AccessibleNode& child) const {
    return child.role == AccessibleRole::PushButton
               ? m_buttonWindow(static_cast<const forms::CommandButton&>(*child.control))
               : nullptr;
}

VARIANT WindowAccessible::asVariant(std::size_t index) const {
    const std::vector<AccessibleNode> children = windowsChildren(m_form, m_announcements);
    VARIANT variant = number(static_cast<LONG>(index + 1));
    if (HWND button = buttonOf(children.at(index))) {
        IDispatch* object = nullptr;
        if (SUCCEEDED(AccessibleObjectFromWindow(button, OBJID_WINDOW, IID_IDispatch,
                                                 reinterpret_cast<void**>(&object)))) {
            variant.vt = VT_DISPATCH;
            variant.pdispVal = object;
        }
    }
    return variant;
}

// ---------------------------------------------------------------- IUnknown, IDispatch

HRESULT WindowAccessible::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG WindowAccessible::AddRef() {
    return ++m_references;
}

ULONG WindowAccessible::Release() {
    const ULONG left = --m_references;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT WindowAccessible::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

HRESULT WindowAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_NOTIMPL;
}

HRESULT WindowAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT WindowAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                 UINT*) {
    return E_NOTIMPL;
}

// ---------------------------------------------------------------- the tree

HRESULT WindowAccessible::get_accParent(IDispatch** parent) {
    return standard(m_standard, [&](IAccessible* area) { return area->get_accParent(parent); });
}

HRESULT WindowAccessible::get_accChildCount(LONG* count) {
    *count = 0;
    if (m_window == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    *count = static_cast<LONG>(windowsChildren(m_form, m_announcements).size());
    return S_OK;
}

HRESULT WindowAccessible::get_accChild(VARIANT id, IDispatch** child) {
    *child = nullptr;
    std::optional<AccessibleNode> node;
    if (!find(id, node) || !node) {
        return E_INVALIDARG;
    }
    VARIANT found = asVariant(static_cast<std::size_t>(id.lVal - 1));
    if (found.vt != VT_DISPATCH) {
        return S_FALSE; // a simple element, answered for by this object
    }
    *child = found.pdispVal;
    return S_OK;
}

HRESULT WindowAccessible::get_accName(VARIANT id, BSTR* name) {
    *name = nullptr;
    std::optional<AccessibleNode> node;
    if (!find(id, node)) {
        return E_INVALIDARG;
    }
    return text(node ? node->name : runtime::describeWindow(m_form).name, name);
}

HRESULT WindowAccessible::get_accValue(VARIANT id, BSTR* value) {
    *value = nullptr;
    std::optional<AccessibleNode> node;
    return find(id, node) ? S_FALSE : E_INVALIDARG;
}

HRESULT WindowAccessible::get_accDescription(VARIANT id, BSTR* description) {
    *description = nullptr;
    std::optional<AccessibleNode> node;
    return find(id, node) ? S_FALSE : E_INVALIDARG;
}

HRESULT WindowAccessible::get_accRole(VARIANT id, VARIANT* role) {
    VariantInit(role);
    std::optional<AccessibleNode> node;
    if (!find(id, node)) {
        return E_INVALIDARG;
    }
    *role = number(node ? roleOf(node->role) : ROLE_SYSTEM_CLIENT);
    return S_OK;
}

HRESULT WindowAccessible::get_accState(VARIANT id, VARIANT* state) {
    VariantInit(state);
    std::optional<AccessibleNode> node;
    if (!find(id, node)) {
        return E_INVALIDARG;
    }
    if (!node) {
        return standard(m_standard,
                        [&](IAccessible* area) { return area->get_accState(id, state); });
    }
    LONG flags = node->shown ? 0 : STATE_SYSTEM_INVISIBLE;
    if (HWND button = buttonOf(*node)) {
        flags |= node->enabled ? STATE_SYSTEM_FOCUSABLE : STATE_SYSTEM_UNAVAILABLE;
        flags |= GetFocus() == button ? STATE_SYSTEM_FOCUSED : 0;
    } else if (node->role == AccessibleRole::StaticText) {
        flags |= STATE_SYSTEM_READONLY;
    }
    *state = number(flags);
    return S_OK;
}

HRESULT WindowAccessible::get_accHelp(VARIANT id, BSTR* help) {
    *help = nullptr;
    std::optional<AccessibleNode> node;
    return find(id, node) ? S_FALSE : E_INVALIDARG;
}

HRESULT WindowAccessible::get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) {
    *file = nullptr;
    *topic = 0;
    return S_FALSE;
}

HRESULT WindowAccessible::get_accKeyboardShortcut(VARIANT id, BSTR* shortcut) {
    *shortcut = nullptr;
    std::optional<AccessibleNode> node;
    return find(id, node) ? S_FALSE : E_INVALIDARG;
}

HRESULT WindowAccessible::get_accFocus(VARIANT* id) {
    return standard(m_standard, [&](IAccessible* area) { return area->get_accFocus(id); });
}

HRESULT WindowAccessible::get_accSelection(VARIANT* id) {
    VariantInit(id);
    return S_FALSE;
}

HRESULT WindowAccessible::get_accDefaultAction(VARIANT id, BSTR* action) {
    *action = nullptr;
    std::optional<AccessibleNode> node;
    if (!find(id, node)) {
        return E_INVALIDARG;
    }
    return node && buttonOf(*node) ? text("Press", action) : S_FALSE;
}

HRESULT WindowAccessible::accSelect(LONG, VARIANT id) {
    std::optional<AccessibleNode> node;
    return find(id, node) ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
}

HRESULT WindowAccessible::accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                      VARIANT id) {
    *left = *top = *width = *height = 0;
    std::optional<AccessibleNode> node;
    if (!find(id, node)) {
        return E_INVALIDARG;
    }
    if (!node) {
        return standard(m_standard, [&](IAccessible* area) {
            return area->accLocation(left, top, width, height, id);
        });
    }
    // The layout's pixels at the window's DPI, from the client area's corner.
    const double ratio = GetDpiForWindow(m_window) / kLayoutDpi;
    const auto scaled = [ratio](int pixels) {
        return static_cast<LONG>(std::lround(pixels * ratio));
    };
    POINT corner{0, 0};
    ClientToScreen(m_window, &corner);
    const drawing::DeviceRect& area = node->area;
    *left = corner.x + scaled(area.left);
    *top = corner.y + scaled(area.top);
    *width = scaled(area.left + area.width) - scaled(area.left);
    *height = scaled(area.top + area.height) - scaled(area.top);
    return S_OK;
}

HRESULT WindowAccessible::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
    VariantInit(end);
    std::optional<AccessibleNode> node;
    if (!find(start, node)) {
        return E_INVALIDARG;
    }
    const auto count = static_cast<LONG>(windowsChildren(m_form, m_announcements).size());
    LONG to = 0;
    if (!node && direction == NAVDIR_FIRSTCHILD) {
        to = 1;
    } else if (!node && direction == NAVDIR_LASTCHILD) {
        to = count;
    } else if (!node) {
        return standard(m_standard, [&](IAccessible* area) {
            return area->accNavigate(direction, start, end);
        });
    } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) {
        to = start.lVal + 1;
    } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) {
        to = start.lVal - 1;
    }
    if (to < 1 || to > count) {
        return S_FALSE;
    }
    *end = asVariant(static_cast<std::size_t>(to - 1));
    return S_OK;
}

HRESULT WindowAccessible::accHitTest(LONG x, LONG y, VARIANT* id) {
    VariantInit(id);
    // The buttons stand above all painting, and the system finds them.
    const HRESULT found =
        standard(m_standard, [&](IAccessible* area) { return area->accHitTest(x, y, id); });
    if (FAILED(found) || id->vt != VT_I4 || id->lVal != CHILDID_SELF) {
        return found;
    }
    POINT point{x, y};
    ScreenToClient(m_window, &point);
    const double ratio = GetDpiForWindow(m_window) / kLayoutDpi;
    const auto inLayout = [ratio](LONG pixels) {
        return static_cast<int>(std::floor(pixels / ratio));
    };
    const int px = inLayout(point.x);
    const int py = inLayout(point.y);
    // Of the painted controls, the first in the form's list is drawn over the others.
    const std::vector<AccessibleNode> children = windowsChildren(m_form, m_announcements);
    for (const auto& control : m_form.controls()) {
        for (std::size_t i = 0; i < children.size(); ++i) {
            const drawing::DeviceRect& area = children[i].area;
            if (children[i].control == control.get() && children[i].shown &&
                !buttonOf(children[i]) && px >= area.left && px < area.left + area.width &&
                py >= area.top && py < area.top + area.height) {
                *id = number(static_cast<LONG>(i + 1));
                return S_OK;
            }
        }
    }
    return found;
}

HRESULT WindowAccessible::accDoDefaultAction(VARIANT id) {
    std::optional<AccessibleNode> node;
    if (!find(id, node)) {
        return E_INVALIDARG;
    }
    HWND button = node ? buttonOf(*node) : nullptr;
    if (button == nullptr) {
        return DISP_E_MEMBERNOTFOUND;
    }
    // As a click would, once this call is over; a greyed or hidden button ignores it.
    PostMessageW(button, BM_CLICK, 0, 0);
    return S_OK;
}

HRESULT WindowAccessible::put_accName(VARIANT, BSTR) {
    return E_NOTIMPL;
}

HRESULT WindowAccessible::put_accValue(VARIANT, BSTR) {
    return E_NOTIMPL;
}

} // namespace front::win32
