#pragma once

// The one way this program joins COM: the launcher's one thread enters a
// single-threaded apartment, as the shell's objects and the accessible
// object's marshalling want. ole32 is looked up at the first Join, so that a
// launcher that needs no COM never loads it. Each holder that joined leaves
// when it goes; COM counts the joins of a thread.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    // 1 when the thread is in the apartment (joined now or before).
    int Join();
    int Joined() const { return joined; }

private:
    int joined;
};
