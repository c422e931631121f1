#pragma once

#include <windows.h>

#include "text/PathText.h"
#include "window/ComApartment.h"

// What the strip tells a screen reader, asked through its accessible object.
class StripContent {
public:
    virtual ~StripContent() {}
    // What the strip shows as one text (WTF-8): the typed text and its
    // completion.
    virtual void ShownText(char* out, int size) = 0;
    // The help text while the information view shows, else null.
    virtual const char* HelpText() = 0;
    // 1 while the strip is on the screen.
    virtual int IsShown() = 0;
    // The results list: its rows on the screen (0 without a list), the row
    // of the current answer (-1 for none), a digest of what the rows show
    // with their mark, and what row n (from 0; -1 the list) says and where
    // it lies on the screen (where may be null); 0 when there is no such
    // row.
    virtual int ListRows() = 0;
    virtual int ListCurrent() = 0;
    virtual unsigned int ListDigest() = 0;
    virtual int ListRow(int row, char (&name)[kPathBytes], char (&leads)[kPathBytes], RECT* where) = 0;
};

// The strip for screen readers (NVDA, Narrator, JAWS): an accessible object
// of the client area, editable text named "Kwivo" whose value is what the
// strip shows, and the events that tell a listening reader of a change;
// with a results list, its one child, the list (ListAccessible), whose
// current item is selected anew at each change.
// Everything else (parent, navigation, hit testing, location) comes from
// the window's standard object. oleacc and ole32 are loaded when the first
// client asks, so that nothing is loaded or imported for a launcher that no
// reader looks at.
class StripAccessible {
public:
    static constexpr const wchar_t* kName = L"Kwivo";
    // The results list's object id, as events name it.
    static constexpr DWORD kListId = 1;

    StripAccessible();
    // Disconnects the object: a client that still holds it gets errors.
    virtual ~StripAccessible();

    // WM_GETOBJECT: the object for OBJID_CLIENT, marshalled for the client;
    // 0 for any other object (the window's default answers).
    LRESULT Answer(HWND window, WPARAM wParam, LPARAM lParam, StripContent* content);
    // The strip has shown and taken the keyboard.
    void Focused(HWND window);
    // After anything that may change what the strip shows: one value-change
    // event when it did change.
    void Changed(HWND window, StripContent* content);
    // Ends the object's service (the window goes).
    void Disconnect();

private:
    struct Object;
    Object* object;
    ComApartment com;
    // The last value told, as a hash: no event for an unchanged value; and
    // the last rows told, as their digest (0: none).
    unsigned int lastValue;
    unsigned int lastList;
};

// Speaks a short text through UI Automation's notifications (Windows 10
// 1709 and later), replacing one not yet spoken; where the system has
// none, nothing. Tests give one of their own.
class Announcer {
public:
    virtual ~Announcer() {}
    // 1 when the text was handed to the system.
    virtual int Announce(HWND window, const char* text);
};

// "name" or "name, 2 of 5" (place and count from 1; 0 when not known), cut
// to fit; the bytes written.
int FormatAnnouncement(char* out, int size, const char* name, int place, int count);
