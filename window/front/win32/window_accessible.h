// window_accessible.h: the window's client area as Windows screen readers find
// it (IAccessible): the push buttons, which are windows of their own, and the
// message, the title and the pictures, which GDI paints, all as the shared
// runtime describes them. The message is a live region (see screen_readers.h).
#pragma once

#include "accessible_tree.h"
#include "announcements.h"

#include <windows.h>

#include <oleacc.h>

#include <functional>
#include <optional>
#include <vector>

namespace front::win32 {

// Finds the BUTTON window that hosts a push button.
using ButtonWindows = std::function<HWND(const forms::CommandButton&)>;

// The window's children as Windows counts them, from 1: those the shared
// runtime lists, but the notification, since the message itself is live here.
std::vector<runtime::AccessibleNode> windowsChildren(const forms::Form& form,
                                                     const runtime::Announcements& announcements);
// The message's child id among them.
LONG messageChildId(const forms::Form& form, const runtime::Announcements& announcements);

class WindowAccessible final : public IAccessible {
public:
    // What the window itself is not asked about here, the system's own view
    // of a client area answers.
    WindowAccessible(HWND window, const forms::Form& form,
                     const runtime::Announcements& announcements, ButtonWindows buttonWindow);
    WindowAccessible(const WindowAccessible&) = delete;
    WindowAccessible& operator=(const WindowAccessible&) = delete;

    // The window is going: screen readers that still hold on are told it is gone.
    void detach();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: screen readers call IAccessible itself; no type information.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT id, LONG* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* id) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* id) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT id) override;
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT id) override;
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* id) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT id, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT id, BSTR value) override;

private:
    ~WindowAccessible();

    // The child a VARIANT names, or none for the window itself; false for no such child.
    bool find(const VARIANT& id, std::optional<runtime::AccessibleNode>& child) const;
    HWND buttonOf(const runtime::AccessibleNode& child) const;
    // A child as a VARIANT: a push button as its own window's object.
    VARIANT asVariant(std::size_t index) const;

    ULONG m_references = 1;
    HWND m_window;
    const forms::Form& m_form;
    const runtime::Announcements& m_announcements;
    ButtonWindows m_buttonWindow;
    IAccessible* m_standard = nullptr;
};

} // namespace front::win32
