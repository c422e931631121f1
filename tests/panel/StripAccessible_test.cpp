// A screen reader's view of the real kwivo.exe: a client in this process
// reads the strip's accessible object across processes and hears its events.

#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "panel/StripAccessible.h"
#include "support/RealLauncher.h"
#include "support/Win32Test.h"

namespace {

// The strip's events, in order: "focus" or "value".
std::vector<std::string> heard;
HWND strip = nullptr;

void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (window != strip || object != OBJID_CLIENT || child != CHILDID_SELF) return;
    heard.push_back(event == EVENT_OBJECT_FOCUS ? "focus" : event == EVENT_OBJECT_VALUECHANGE ? "value" : "other");
}

std::string Take(BSTR text) {
    std::string out;
    if (!text) return out;
    char bytes[2048];
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
    if (n > 0) out.assign(bytes, static_cast<size_t>(n - 1));
    SysFreeString(text);
    return out;
}

// The client's side: the object, as a screen reader gets it.
class Reader {
public:
    explicit Reader(HWND window) {
        // The import library takes oleacc's exported IID_IAccessible for a
        // function: the value is spelled out.
        const IID accessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
        if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), accessible,
                                              reinterpret_cast<void**>(&object_)))) {
            object_ = nullptr;
        }
        self_.vt = VT_I4;
        self_.lVal = CHILDID_SELF;
    }
    ~Reader() {
        if (object_) object_->Release();
    }
    bool Ok() const { return object_ != nullptr; }
    std::string Name() {
        BSTR text = nullptr;
        return SUCCEEDED(object_->get_accName(self_, &text)) ? Take(text) : "<error>";
    }
    std::string Value() {
        BSTR text = nullptr;
        return SUCCEEDED(object_->get_accValue(self_, &text)) ? Take(text) : "<error>";
    }
    std::string Description() {
        BSTR text = nullptr;
        return object_->get_accDescription(self_, &text) == S_OK ? Take(text) : "";
    }
    long Role() { return Long(&IAccessible::get_accRole); }
    long State() { return Long(&IAccessible::get_accState); }
    HRESULT NameResult() {
        BSTR text = nullptr;
        HRESULT result = object_->get_accName(self_, &text);
        Take(text);
        return result;
    }
    long ChildCount() {
        long count = -1;
        return SUCCEEDED(object_->get_accChildCount(&count)) ? count : -1;
    }
    // The child's own object, as IAccessible; null for none.
    IAccessible* Child(long child) {
        VARIANT which;
        which.vt = VT_I4;
        which.lVal = child;
        IDispatch* dispatch = nullptr;
        if (object_->get_accChild(which, &dispatch) != S_OK || !dispatch) return nullptr;
        const IID accessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
        IAccessible* out = nullptr;
        dispatch->QueryInterface(accessible, reinterpret_cast<void**>(&out));
        dispatch->Release();
        return out;
    }
    HRESULT ChildName(long child) {
        VARIANT other;
        other.vt = VT_I4;
        other.lVal = child;
        BSTR text = nullptr;
        HRESULT result = object_->get_accName(other, &text);
        Take(text);
        return result;
    }

private:
    long Long(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) {
        VARIANT out;
        VariantInit(&out);
        if (FAILED((object_->*get)(self_, &out)) || out.vt != VT_I4) return -1;
        return out.lVal;
    }
    IAccessible* object_ = nullptr;
    VARIANT self_;
};

// Sends keys to the strip as typing does, and returns once it has handled
// them: characters, or virtual keys given as negative numbers.
void Press(const std::vector<int>& keys) {
    for (int key : keys) {
        if (key < 0) {
            PostMessageW(strip, WM_KEYDOWN, static_cast<WPARAM>(-key), 0);
        } else {
            PostMessageW(strip, WM_CHAR, static_cast<WPARAM>(key), 0);
        }
    }
    DWORD_PTR ignored;
    SendMessageTimeoutW(strip, WM_NULL, 0, 0, SMTO_BLOCK, 20000, &ignored);
}

std::vector<int> Keys(const std::string& text) {
    std::vector<int> keys;
    for (char c : text) keys.push_back(static_cast<unsigned char>(c));
    return keys;
}

// Waits, taking the hook's messages, until count events were heard.
bool HeardCount(size_t count, DWORD timeoutMs = 5000) {
    return test::WaitFor(
        [&] {
            test::PumpMessages();
            return heard.size() >= count;
        },
        timeoutMs);
}

TEST(StripAccessible, AReaderReadsWhatTheStripShowsAndHearsEveryChangeOnce) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    test::TempFolder folder;
    const std::string apps = folder.File("apps");
    const std::string deep = folder.File("deep");
    CreateDirectoryA(apps.c_str(), nullptr);
    CreateDirectoryA(deep.c_str(), nullptr);
    for (const char* name : {"apps\\alpha.exe", "apps\\alpine.exe", "deep\\onlyfile.exe"}) {
        test::WriteTextFile(folder.File(name), "MZ");
    }
    test::Launcher kwivo(folder, ("[ui]\r\nslidespeed=0\r\n[misc]\r\nruns=1\r\n[folders]\r\n" + apps + "=1\r\n").c_str());
    strip = kwivo.Window();
    ASSERT_NE(strip, nullptr);
    DWORD process = 0;
    GetWindowThreadProcessId(strip, &process);
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr, Hear, process, 0,
                                         WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);

    Reader reader(strip);
    ASSERT_TRUE(reader.Ok());
    EXPECT_EQ(reader.Role(), ROLE_SYSTEM_TEXT);
    EXPECT_EQ(reader.Name(), "Kwivo");
    EXPECT_EQ(reader.State() & STATE_SYSTEM_INVISIBLE, STATE_SYSTEM_INVISIBLE);
    EXPECT_EQ(reader.ChildName(7), E_INVALIDARG);  // no such child

    // Shown: the focus event, once.
    DWORD_PTR ignored;
    SendMessageTimeoutW(strip, WM_HOTKEY, 0, 0, SMTO_BLOCK, 20000, &ignored);
    ASSERT_TRUE(HeardCount(1));
    EXPECT_EQ(heard[0], "focus");
    EXPECT_EQ(reader.State() & (STATE_SYSTEM_FOCUSED | STATE_SYSTEM_INVISIBLE), STATE_SYSTEM_FOCUSED);

    // Each step: a value-change event when what the strip shows changed,
    // none when it did not.
    std::string value = reader.Value();
    EXPECT_EQ(value, "");
    size_t values = 0;
    auto step = [&](const std::vector<int>& keys) {
        for (int key : keys) {
            Press({key});
            std::string now = reader.Value();
            bool changed = now != value;
            values += changed;
            value = now;
            HeardCount(1 + values, changed ? 5000 : 0);
            test::WaitFor([] { test::PumpMessages(); return false; }, 100);  // any late event
            EXPECT_EQ(heard.size(), 1 + values) << key << " " << now;
        }
    };
    step(Keys("a"));
    step(Keys("l"));
    step(Keys("p"));
    const std::string first = value;
    EXPECT_TRUE(first == "alpha.exe" || first == "alpine.exe") << first;
    step({-VK_DOWN});
    EXPECT_EQ(value, first == "alpha.exe" ? "alpine.exe" : "alpha.exe");
    step({'\t'});  // the completion taken: the same text
    EXPECT_EQ(heard.size(), 1 + values);
    // A path completes to the whole path.
    auto erase = [&] { return std::vector<int>(value.size() + 1, 8); };
    step(erase());
    EXPECT_EQ(value, "");
    step(Keys(deep + "\\o"));
    EXPECT_EQ(value, deep + "\\onlyfile.exe");
    // The help view is the object's description.
    step(erase());
    EXPECT_EQ(value, "");
    step({'/', '\r'});
    EXPECT_TRUE(test::WaitFor([&] { return reader.Description().find("Rescan folders") != std::string::npos; }));
    for (const std::string& event : std::vector<std::string>(heard.begin() + 1, heard.end())) {
        EXPECT_EQ(event, "value");
    }

    // "/q" while the reader holds the object: Kwivo ends as always, and the
    // object answers with an error from then on.
    Press(Keys("/q\r"));
    EXPECT_EQ(kwivo.ExitCode(), 0u);
    EXPECT_TRUE(FAILED(reader.NameResult()));
    UnhookWinEvent(hook);
    CoUninitialize();
}

// The results list's selection events: "object child".
std::vector<std::string> selections;

void HearSelection(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (window != strip || event != EVENT_OBJECT_SELECTION) return;
    selections.push_back(std::to_string(object) + " " + std::to_string(child));
}

TEST(StripAccessible, WithAListAReaderReadsItsRowsAsItemsAndHearsTheCurrentOneSelected) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    test::TempFolder folder;
    const std::string apps = folder.File("apps");
    CreateDirectoryA(apps.c_str(), nullptr);
    for (const char* name : {"apps\\alpha.exe", "apps\\alpine.exe", "apps\\alps.exe"}) {
        test::WriteTextFile(folder.File(name), "MZ");
    }
    test::Launcher kwivo(
        folder, ("[ui]\r\nslidespeed=0\r\nlist=3\r\n[misc]\r\nruns=1\r\n[folders]\r\n" + apps + "=1\r\n").c_str());
    strip = kwivo.Window();
    ASSERT_NE(strip, nullptr);
    DWORD process = 0;
    GetWindowThreadProcessId(strip, &process);
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_SELECTION, EVENT_OBJECT_SELECTION, nullptr, HearSelection,
                                         process, 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    DWORD_PTR ignored;
    SendMessageTimeoutW(strip, WM_HOTKEY, 0, 0, SMTO_BLOCK, 20000, &ignored);
    Reader reader(strip);
    ASSERT_TRUE(reader.Ok());
    EXPECT_EQ(reader.ChildCount(), 0);  // no rows, no list
    Press(Keys("alp"));
    ASSERT_EQ(reader.ChildCount(), 1);
    IAccessible* list = reader.Child(1);
    ASSERT_NE(list, nullptr);
    auto text = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), long child) {
        VARIANT which;
        which.vt = VT_I4;
        which.lVal = child;
        BSTR out = nullptr;
        HRESULT result = (list->*get)(which, &out);
        return FAILED(result) ? "<" + std::to_string(result) + ">" : Take(out);
    };
    auto number = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), long child) {
        VARIANT which;
        which.vt = VT_I4;
        which.lVal = child;
        VARIANT out;
        VariantInit(&out);
        return SUCCEEDED((list->*get)(which, &out)) && out.vt == VT_I4 ? out.lVal : -1;
    };
    EXPECT_EQ(number(&IAccessible::get_accRole, CHILDID_SELF), ROLE_SYSTEM_LIST);
    long count = 0;
    ASSERT_EQ(list->get_accChildCount(&count), S_OK);
    ASSERT_EQ(count, 3);
    std::vector<std::string> names;
    for (long item = 1; item <= 3; ++item) {
        names.push_back(text(&IAccessible::get_accName, item));
        EXPECT_EQ(text(&IAccessible::get_accDescription, item), apps);
        EXPECT_EQ(number(&IAccessible::get_accRole, item), ROLE_SYSTEM_LISTITEM);
        long selected = number(&IAccessible::get_accState, item) & (STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED);
        EXPECT_EQ(selected, item == 1 ? STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED : 0) << item;
    }
    EXPECT_EQ(names[0], reader.Value());  // the first row is the strip's answer
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{"alpha.exe", "alpine.exe", "alps.exe"}));
    // Down: the second item selected, and the event says so; the text keeps
    // the focus.
    const std::string listId = std::to_string(StripAccessible::kListId);
    Press({-VK_DOWN});
    EXPECT_TRUE(test::WaitFor([&] {
        test::PumpMessages();
        return !selections.empty() && selections.back() == listId + " 2";
    }));
    EXPECT_EQ(number(&IAccessible::get_accState, 2) & STATE_SYSTEM_SELECTED, STATE_SYSTEM_SELECTED);
    EXPECT_EQ(reader.State() & STATE_SYSTEM_FOCUSED, STATE_SYSTEM_FOCUSED);
    // An item the rows no longer have, held after the text changed: an error.
    Press(Keys("h"));
    EXPECT_EQ(text(&IAccessible::get_accName, 3), "<" + std::to_string(E_INVALIDARG) + ">");
    EXPECT_EQ(text(&IAccessible::get_accName, 1), "alpha.exe");
    // After "/q", every call: an error.
    Press(std::vector<int>(4, 8));
    Press(Keys("/q\r"));
    EXPECT_EQ(kwivo.ExitCode(), 0u);
    EXPECT_EQ(text(&IAccessible::get_accName, 1)[0], '<');
    list->Release();
    UnhookWinEvent(hook);
    CoUninitialize();
}

}  // namespace
