#pragma once

#include <oleacc.h>

#include <cstdlib>

// Spelled out, so that no GUID library is linked into the program.
extern const IID kAccessibleInterface;

// A text (WTF-8) as a string the client frees; null when it cannot be made.
BSTR NewAccessibleString(const char* text);

// What every accessible object of the strip has alike: its references,
// IUnknown and IDispatch answered for IAccessible (screen readers call the
// interface itself), no name or value that a client may set, and memory
// from the C heap (null when it runs out: no exceptions here).
class AccessibleBase : public IAccessible {
public:
    static void* operator new(size_t size) noexcept { return malloc(size); }
    static void operator delete(void* gone) noexcept { free(gone); }
    virtual ~AccessibleBase() {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

protected:
    AccessibleBase() : references(1) {}

private:
    LONG references;
};
