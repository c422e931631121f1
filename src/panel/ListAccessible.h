#pragma once

#include "panel/AccessibleBase.h"

class StripContent;

// The results list for screen readers: an object of role list, the child of
// the strip's own, whose items (simple children 1 to n, role list item) are
// the rows on the screen, each named by its answer and described by where
// it leads, the current one selected and focused. Once disconnected, or for
// an item the rows no longer have, every call gives an error.
class ListAccessible final : public AccessibleBase {
public:
    // parent is the strip's object, which holds this one and outlives it
    // until both are disconnected.
    ListAccessible(IAccessible* parent, StripContent* content, HWND window);

    // The window goes: the content is no longer asked.
    void Disconnect() { content = nullptr; }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;

private:
    // The row (from 0) that child names, CHILDID_SELF as -1; E_INVALIDARG
    // for a child the rows do not have, an error once disconnected.
    HRESULT Row(const VARIANT& child, int* row);

    IAccessible* parent;
    StripContent* content;  // null once disconnected
    HWND window;
};
