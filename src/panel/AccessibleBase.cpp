#include "panel/AccessibleBase.h"

#include "text/PathText.h"
#include "text/Wtf8.h"
#include "window/SystemCall.h"

namespace {

const IID kUnknown = {0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kDispatch = {0x00020400, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

typedef BSTR(WINAPI* AllocStringCall)(const OLECHAR*);

// The longest text told: the value, the help text.
const int kTextUnits = 2 * kPathSize + 4;

}  // namespace

const IID kAccessibleInterface = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

BSTR NewAccessibleString(const char* text) {
    static AllocStringCall alloc = nullptr;
    if (!alloc) alloc = FindSystemCall<AllocStringCall>(L"oleaut32.dll", "SysAllocString");
    wchar_t wide[kTextUnits];
    if (!alloc || Utf16FromWtf8(wide, kTextUnits, text) < 0) return nullptr;
    return alloc(wide);
}

HRESULT AccessibleBase::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualGUID(iid, kUnknown) || IsEqualGUID(iid, kDispatch) || IsEqualGUID(iid, kAccessibleInterface)) {
        *out = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG AccessibleBase::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&references));
}

ULONG AccessibleBase::Release() {
    LONG left = InterlockedDecrement(&references);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT AccessibleBase::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}
