#include "window/ComApartment.h"

#include <objbase.h>

#include "window/SystemCall.h"

namespace {

typedef HRESULT(WINAPI* InitialiseCall)(void*, DWORD);
typedef void(WINAPI* UninitialiseCall)();

}  // namespace

ComApartment::ComApartment() : joined(0) {}

ComApartment::~ComApartment() {
    if (!joined) return;
    UninitialiseCall uninitialise = FindSystemCall<UninitialiseCall>(L"ole32.dll", "CoUninitialize");
    if (uninitialise) uninitialise();
}

int ComApartment::Join() {
    if (joined) return 1;
    InitialiseCall initialise = FindSystemCall<InitialiseCall>(L"ole32.dll", "CoInitializeEx");
    joined = initialise && SUCCEEDED(initialise(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    return joined;
}
