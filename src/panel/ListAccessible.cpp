#include "panel/ListAccessible.h"

#include "panel/StripAccessible.h"
#include "text/PathText.h"
#include "text/TextFormat.h"

namespace {

void SetChild(VARIANT* out, int row) {
    out->vt = VT_I4;
    out->lVal = row + 1;
}

}  // namespace

ListAccessible::ListAccessible(IAccessible* parentObject, StripContent* shown, HWND listWindow)
    : parent(parentObject), content(shown), window(listWindow) {}

HRESULT ListAccessible::Row(const VARIANT& child, int* row) {
    if (!content) return CO_E_OBJNOTCONNECTED;
    if (child.vt != VT_I4) return E_INVALIDARG;
    *row = child.lVal - 1;
    if (child.lVal == CHILDID_SELF) return S_OK;
    return *row >= 0 && *row < content->ListRows() ? S_OK : E_INVALIDARG;
}

HRESULT ListAccessible::get_accParent(IDispatch** out) {
    if (!content) return CO_E_OBJNOTCONNECTED;
    if (!out) return E_POINTER;
    parent->AddRef();
    *out = parent;
    return S_OK;
}

HRESULT ListAccessible::get_accChildCount(long* count) {
    if (!content) return CO_E_OBJNOTCONNECTED;
    if (!count) return E_POINTER;
    *count = content->ListRows();
    return S_OK;
}

HRESULT ListAccessible::get_accChild(VARIANT child, IDispatch** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    int row;
    HRESULT result = Row(child, &row);
    // The items are simple children: no objects of their own.
    return FAILED(result) ? result : row < 0 ? E_INVALIDARG : S_FALSE;
}

HRESULT ListAccessible::get_accName(VARIANT child, BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    int row;
    HRESULT result = Row(child, &row);
    if (FAILED(result)) return result;
    char text[kPathBytes];
    char leads[kPathBytes];
    if (row < 0) {
        FormatText(text, sizeof text, "Answers");
    } else if (!content->ListRow(row, text, leads, nullptr)) {
        return E_INVALIDARG;
    }
    *name = NewAccessibleString(text);
    return *name ? S_OK : E_OUTOFMEMORY;
}

HRESULT ListAccessible::get_accValue(VARIANT child, BSTR* value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    int row;
    HRESULT result = Row(child, &row);
    return FAILED(result) ? result : DISP_E_MEMBERNOTFOUND;
}

HRESULT ListAccessible::get_accDescription(VARIANT child, BSTR* description) {
    if (!description) return E_POINTER;
    *description = nullptr;
    int row;
    HRESULT result = Row(child, &row);
    if (FAILED(result)) return result;
    char name[kPathBytes];
    char leads[kPathBytes];
    if (row < 0) return S_FALSE;
    if (!content->ListRow(row, name, leads, nullptr)) return E_INVALIDARG;
    if (!leads[0]) return S_FALSE;
    *description = NewAccessibleString(leads);
    return *description ? S_OK : E_OUTOFMEMORY;
}

HRESULT ListAccessible::get_accRole(VARIANT child, VARIANT* role) {
    if (!role) return E_POINTER;
    int row;
    HRESULT result = Row(child, &row);
    if (FAILED(result)) return result;
    role->vt = VT_I4;
    role->lVal = row < 0 ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_LISTITEM;
    return S_OK;
}

HRESULT ListAccessible::get_accState(VARIANT child, VARIANT* state) {
    if (!state) return E_POINTER;
    int row;
    HRESULT result = Row(child, &row);
    if (FAILED(result)) return result;
    state->vt = VT_I4;
    if (row < 0) {
        state->lVal = content->IsShown() ? 0 : STATE_SYSTEM_INVISIBLE;
    } else {
        state->lVal = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
        if (row == content->ListCurrent()) state->lVal |= STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED;
    }
    return S_OK;
}

HRESULT ListAccessible::get_accHelp(VARIANT child, BSTR* help) {
    if (!help) return E_POINTER;
    *help = nullptr;
    int row;
    HRESULT result = Row(child, &row);
    return FAILED(result) ? result : DISP_E_MEMBERNOTFOUND;
}

HRESULT ListAccessible::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    if (!file || !topic) return E_POINTER;
    *file = nullptr;
    int row;
    HRESULT result = Row(child, &row);
    return FAILED(result) ? result : DISP_E_MEMBERNOTFOUND;
}

HRESULT ListAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* keys) {
    if (!keys) return E_POINTER;
    *keys = nullptr;
    int row;
    HRESULT result = Row(child, &row);
    if (FAILED(result)) return result;
    if (row < 0) return S_FALSE;
    char text[8];
    FormatText(text, sizeof text, "Alt+%d", row + 1);
    *keys = NewAccessibleString(text);
    return *keys ? S_OK : E_OUTOFMEMORY;
}

HRESULT ListAccessible::get_accFocus(VARIANT* focus) {
    if (!content) return CO_E_OBJNOTCONNECTED;
    if (!focus) return E_POINTER;
    int row = content->ListCurrent();
    if (row < 0 || !content->IsShown()) {
        focus->vt = VT_EMPTY;
        return S_FALSE;
    }
    SetChild(focus, row);
    return S_OK;
}

HRESULT ListAccessible::get_accSelection(VARIANT* selection) {
    return get_accFocus(selection);
}

HRESULT ListAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (!action) return E_POINTER;
    *action = nullptr;
    int row;
    HRESULT result = Row(child, &row);
    if (FAILED(result)) return result;
    if (row < 0) return S_FALSE;
    *action = NewAccessibleString("Open");
    return *action ? S_OK : E_OUTOFMEMORY;
}

HRESULT ListAccessible::accSelect(long, VARIANT child) {
    int row;
    HRESULT result = Row(child, &row);
    return FAILED(result) ? result : DISP_E_MEMBERNOTFOUND;
}

HRESULT ListAccessible::accLocation(long* x, long* y, long* w, long* h, VARIANT child) {
    if (!x || !y || !w || !h) return E_POINTER;
    int row;
    HRESULT result = Row(child, &row);
    if (FAILED(result)) return result;
    char name[kPathBytes];
    char leads[kPathBytes];
    RECT where;
    if (!content->ListRow(row, name, leads, &where)) return E_INVALIDARG;
    *x = where.left;
    *y = where.top;
    *w = where.right - where.left;
    *h = where.bottom - where.top;
    return S_OK;
}

HRESULT ListAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (!end) return E_POINTER;
    end->vt = VT_EMPTY;
    int row;
    HRESULT result = Row(start, &row);
    if (FAILED(result)) return result;
    int rows = content->ListRows();
    int to = -1;
    if (row < 0) {
        if (direction == NAVDIR_FIRSTCHILD) to = 0;
        if (direction == NAVDIR_LASTCHILD) to = rows - 1;
    } else {
        if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) to = row + 1;
        if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) to = row - 1;
    }
    if (to < 0 || to >= rows) return S_FALSE;
    SetChild(end, to);
    return S_OK;
}

HRESULT ListAccessible::accHitTest(long x, long y, VARIANT* child) {
    if (!content) return CO_E_OBJNOTCONNECTED;
    if (!child) return E_POINTER;
    child->vt = VT_EMPTY;
    POINT point = {x, y};
    char name[kPathBytes];
    char leads[kPathBytes];
    RECT where;
    for (int row = -1; row < content->ListRows(); ++row) {
        if (!content->ListRow(row, name, leads, &where) || !PtInRect(&where, point)) continue;
        // An item where there is one; the list itself in its margin.
        if (row >= 0 || child->vt == VT_EMPTY) SetChild(child, row);
    }
    return child->vt == VT_EMPTY ? S_FALSE : S_OK;
}

HRESULT ListAccessible::accDoDefaultAction(VARIANT child) {
    int row;
    HRESULT result = Row(child, &row);
    if (FAILED(result)) return result;
    if (row < 0) return DISP_E_MEMBERNOTFOUND;
    // As Alt and the row's digit: after this call, not inside it.
    PostMessageW(window, WM_SYSCHAR, static_cast<WPARAM>('1' + row), 0);
    return S_OK;
}
