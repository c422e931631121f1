#include "panel/StripAccessible.h"

#include <cstring>

#include "panel/ListAccessible.h"
#include "text/Hash.h"
#include "text/PathText.h"
#include "text/TextFormat.h"
#include "text/Wtf8.h"
#include "window/SystemCall.h"

namespace {

typedef HRESULT(WINAPI* StandardObjectCall)(HWND, LONG, REFIID, void**);
typedef LRESULT(WINAPI* LresultCall)(REFIID, WPARAM, LPUNKNOWN);

// The value and the help text are at most this long.
const int kTextBytes = 2 * kPathBytes + 4;

int IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

unsigned int HashText(const char* text) {
    return HashFold32(HashBytes(kHashStart, text, strlen(text)));
}

}  // namespace

// The object a client holds: its own name, role, state and value, the rest
// from the standard object. Once disconnected (the window gone) every call
// says so, however long a client keeps it.
struct StripAccessible::Object final : public AccessibleBase {
    Object(IAccessible* standardObject, StripContent* shown, HWND strip)
        : standard(standardObject), content(shown), window(strip), list(nullptr) {}
    ~Object() override {
        if (list) list->Release();
        standard->Release();
    }

    IAccessible* standard;
    StripContent* content;  // null once disconnected
    HWND window;
    ListAccessible* list;   // the results list's, made when first asked

    // The results list's object; null without a list or memory.
    ListAccessible* List() {
        if (!list && content && content->ListRows() > 0) list = new ListAccessible(this, content, window);
        return list;
    }
    void Disconnect() {
        content = nullptr;
        if (list) list->Disconnect();
    }

    // What this object answers itself.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!content) return CO_E_OBJNOTCONNECTED;
        if (!name) return E_POINTER;
        if (!IsSelf(child)) return E_INVALIDARG;
        *name = NewAccessibleString("Kwivo");
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (!content) return CO_E_OBJNOTCONNECTED;
        if (!value) return E_POINTER;
        if (!IsSelf(child)) return E_INVALIDARG;
        char text[kTextBytes];
        content->ShownText(text, sizeof text);
        *value = NewAccessibleString(text);
        return *value ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (!content) return CO_E_OBJNOTCONNECTED;
        if (!description) return E_POINTER;
        *description = nullptr;
        if (!IsSelf(child)) return E_INVALIDARG;
        const char* help = content->HelpText();
        if (!help) return S_FALSE;
        *description = NewAccessibleString(help);
        return *description ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!content) return CO_E_OBJNOTCONNECTED;
        if (!role) return E_POINTER;
        if (!IsSelf(child)) return E_INVALIDARG;
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_TEXT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!content) return CO_E_OBJNOTCONNECTED;
        if (!state) return E_POINTER;
        if (!IsSelf(child)) return E_INVALIDARG;
        state->vt = VT_I4;
        state->lVal = content->IsShown() ? STATE_SYSTEM_FOCUSED | STATE_SYSTEM_FOCUSABLE : STATE_SYSTEM_INVISIBLE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!content) return CO_E_OBJNOTCONNECTED;
        if (!focus) return E_POINTER;
        if (!content->IsShown()) {
            focus->vt = VT_EMPTY;
            return S_FALSE;
        }
        focus->vt = VT_I4;
        focus->lVal = CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

    // The rest as any window's client area has it.
#define KWIVO_STANDARD(call)                     \
    if (!content) return CO_E_OBJNOTCONNECTED; \
    return standard->call
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { KWIVO_STANDARD(get_accParent(parent)); }
    // With a results list, it is the one child.
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!content) return CO_E_OBJNOTCONNECTED;
        if (!count) return E_POINTER;
        *count = content->ListRows() > 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!content) return CO_E_OBJNOTCONNECTED;
        if (!out) return E_POINTER;
        *out = nullptr;
        if (child.vt != VT_I4 || child.lVal != 1 || !List()) return E_INVALIDARG;
        list->AddRef();
        *out = list;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        KWIVO_STANDARD(get_accHelp(child, help));
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        KWIVO_STANDARD(get_accHelpTopic(file, child, topic));
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        KWIVO_STANDARD(get_accKeyboardShortcut(child, keys));
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        KWIVO_STANDARD(get_accSelection(selection));
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        KWIVO_STANDARD(get_accDefaultAction(child, action));
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { KWIVO_STANDARD(accSelect(flags, child)); }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT child) override {
        KWIVO_STANDARD(accLocation(x, y, w, h, child));
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        KWIVO_STANDARD(accNavigate(direction, start, end));
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        KWIVO_STANDARD(accHitTest(x, y, child));
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { KWIVO_STANDARD(accDoDefaultAction(child)); }
#undef KWIVO_STANDARD
};

StripAccessible::StripAccessible() : object(nullptr), lastValue(HashText("")), lastList(0) {}

StripAccessible::~StripAccessible() {
    Disconnect();
}

LRESULT StripAccessible::Answer(HWND window, WPARAM wParam, LPARAM lParam, StripContent* content) {
    DWORD asked = static_cast<DWORD>(lParam);
    if (asked != static_cast<DWORD>(OBJID_CLIENT) && asked != kListId) return 0;
    StandardObjectCall standardObject = FindSystemCall<StandardObjectCall>(L"oleacc.dll", "CreateStdAccessibleObject");
    LresultCall lresult = FindSystemCall<LresultCall>(L"oleacc.dll", "LresultFromObject");
    if (!standardObject || !lresult) return 0;
    // The object is handed across processes through COM.
    com.Join();
    if (!object) {
        IAccessible* standard = nullptr;
        if (FAILED(standardObject(window, OBJID_CLIENT, kAccessibleInterface, reinterpret_cast<void**>(&standard)))) {
            return 0;
        }
        object = new Object(standard, content, window);
        if (!object) {
            standard->Release();
            return 0;
        }
    }
    // The list's object, asked for by a client that heard its event.
    IAccessible* answered = object;
    if (asked == kListId && !(answered = object->List())) return 0;
    return lresult(kAccessibleInterface, wParam, answered);
}

void StripAccessible::Focused(HWND window) {
    NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, CHILDID_SELF);
}

void StripAccessible::Changed(HWND window, StripContent* content) {
    char text[kTextBytes];
    content->ShownText(text, sizeof text);
    unsigned int value = HashText(text);
    // Costs next to nothing when no client listens.
    if (value != lastValue) NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
    lastValue = value;
    // With a results list: its current item, selected anew whenever what
    // the rows show or which of them is current changed.
    int row = content->ListCurrent();
    unsigned int list = content->ListRows() > 0 && row >= 0 ? content->ListDigest() : 0;
    if (list != 0 && list != lastList) NotifyWinEvent(EVENT_OBJECT_SELECTION, window, kListId, row + 1);
    lastList = list;
}

void StripAccessible::Disconnect() {
    if (!object) return;
    object->Disconnect();
    object->Release();
    object = nullptr;
}

int FormatAnnouncement(char* out, int size, const char* name, int place, int count) {
    int n = place > 0 && count > 0 ? FormatText(out, static_cast<size_t>(size), "%s, %d of %d", name, place, count)
                                   : FormatText(out, static_cast<size_t>(size), "%s", name);
    return n >= 0 ? n : static_cast<int>(strlen(out));
}

namespace {

// UI Automation's notification, from Windows 10 1709 on.
typedef HRESULT(WINAPI* HostProviderCall)(HWND, IUnknown**);
typedef HRESULT(WINAPI* NotificationCall)(IUnknown*, int, int, BSTR, BSTR);
typedef void(WINAPI* FreeStringCall)(BSTR);
typedef BOOL(WINAPI* ListeningCall)();
const int kNotificationKindOther = 4;
const int kNotificationProcessingMostRecent = 3;

}  // namespace

int Announcer::Announce(HWND window, const char* text) {
    // Nothing is made for a notification that no client would hear.
    ListeningCall listening = FindSystemCall<ListeningCall>(L"uiautomationcore.dll", "UiaClientsAreListening");
    if (!listening || !listening()) return 0;
    NotificationCall notify =
        FindSystemCall<NotificationCall>(L"uiautomationcore.dll", "UiaRaiseNotificationEvent");
    HostProviderCall hostProvider =
        FindSystemCall<HostProviderCall>(L"uiautomationcore.dll", "UiaHostProviderFromHwnd");
    FreeStringCall freeString = FindSystemCall<FreeStringCall>(L"oleaut32.dll", "SysFreeString");
    if (!notify || !hostProvider || !freeString) return 0;
    IUnknown* provider = nullptr;
    if (FAILED(hostProvider(window, &provider)) || !provider) return 0;
    BSTR spoken = NewAccessibleString(text);
    BSTR activity = NewAccessibleString("KwivoStep");
    int ok = spoken && activity &&
             SUCCEEDED(notify(provider, kNotificationKindOther, kNotificationProcessingMostRecent, spoken, activity));
    if (spoken) freeString(spoken);
    if (activity) freeString(activity);
    provider->Release();
    return ok;
}
