#include "panel/StripAccessible.h"

#include <oleacc.h>

#include <cstdlib>
#include <cstring>

#include "text/Hash.h"
#include "text/PathText.h"
#include "text/TextFormat.h"
#include "text/Wtf8.h"
#include "window/SystemCall.h"

namespace {

// Spelled out here, so that no GUID library is linked into the program.
const IID kUnknown = {0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kDispatch = {0x00020400, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

typedef HRESULT(WINAPI* StandardObjectCall)(HWND, LONG, REFIID, void**);
typedef LRESULT(WINAPI* LresultCall)(REFIID, WPARAM, LPUNKNOWN);
typedef BSTR(WINAPI* AllocStringCall)(const OLECHAR*);

// The value and the help text are at most this long.
const int kTextBytes = 2 * kPathBytes + 4;
const int kTextUnits = 2 * kPathSize + 4;

BSTR NewString(const char* text) {
    static AllocStringCall alloc = nullptr;
    if (!alloc) alloc = FindSystemCall<AllocStringCall>(L"oleaut32.dll", "SysAllocString");
    wchar_t wide[kTextUnits];
    if (!alloc || Utf16FromWtf8(wide, kTextUnits, text) < 0) return nullptr;
    return alloc(wide);
}

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
struct StripAccessible::Object final : public IAccessible {
    Object(IAccessible* standardObject, StripContent* shown)
        : references(1), standard(standardObject), content(shown) {}
    // From the C heap: null when memory runs out (no exceptions here).
    static void* operator new(size_t size) noexcept { return malloc(size); }
    static void operator delete(void* gone) noexcept { free(gone); }

    LONG references;
    IAccessible* standard;
    StripContent* content;  // null once disconnected

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualGUID(iid, kUnknown) || IsEqualGUID(iid, kDispatch) || IsEqualGUID(iid, kAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references)); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&references);
        if (left == 0) {
            standard->Release();
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch: screen readers call the interface itself.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // What this object answers itself.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!content) return CO_E_OBJNOTCONNECTED;
        if (!name) return E_POINTER;
        if (!IsSelf(child)) return E_INVALIDARG;
        *name = NewString("Kwivo");
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (!content) return CO_E_OBJNOTCONNECTED;
        if (!value) return E_POINTER;
        if (!IsSelf(child)) return E_INVALIDARG;
        char text[kTextBytes];
        content->ShownText(text, sizeof text);
        *value = NewString(text);
        return *value ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (!content) return CO_E_OBJNOTCONNECTED;
        if (!description) return E_POINTER;
        *description = nullptr;
        if (!IsSelf(child)) return E_INVALIDARG;
        const char* help = content->HelpText();
        if (!help) return S_FALSE;
        *description = NewString(help);
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
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { KWIVO_STANDARD(get_accChildCount(count)); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        KWIVO_STANDARD(get_accChild(child, out));
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

StripAccessible::StripAccessible() : object(nullptr), lastValue(HashText("")) {}

StripAccessible::~StripAccessible() {
    Disconnect();
}

LRESULT StripAccessible::Answer(HWND window, WPARAM wParam, LPARAM lParam, StripContent* content) {
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) return 0;
    StandardObjectCall standardObject = FindSystemCall<StandardObjectCall>(L"oleacc.dll", "CreateStdAccessibleObject");
    LresultCall lresult = FindSystemCall<LresultCall>(L"oleacc.dll", "LresultFromObject");
    if (!standardObject || !lresult) return 0;
    // The object is handed across processes through COM.
    com.Join();
    if (!object) {
        IAccessible* standard = nullptr;
        if (FAILED(standardObject(window, OBJID_CLIENT, kAccessible, reinterpret_cast<void**>(&standard)))) return 0;
        object = new Object(standard, content);
        if (!object) {
            standard->Release();
            return 0;
        }
    }
    return lresult(kAccessible, wParam, static_cast<IAccessible*>(object));
}

void StripAccessible::Focused(HWND window) {
    NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, CHILDID_SELF);
}

void StripAccessible::Changed(HWND window, StripContent* content) {
    char text[kTextBytes];
    content->ShownText(text, sizeof text);
    unsigned int value = HashText(text);
    if (value == lastValue) return;
    lastValue = value;
    // Costs next to nothing when no client listens.
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

void StripAccessible::Disconnect() {
    if (!object) return;
    object->content = nullptr;
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
    BSTR spoken = NewString(text);
    BSTR activity = NewString("KwivoStep");
    int ok = spoken && activity &&
             SUCCEEDED(notify(provider, kNotificationKindOther, kNotificationProcessingMostRecent, spoken, activity));
    if (spoken) freeString(spoken);
    if (activity) freeString(activity);
    provider->Release();
    return ok;
}
