#pragma once

// The system's own commands as names ([misc] system=1), each with the
// address that the launcher reads as the command (never handed to the
// shell), and whether it loses work or data and so asks first.
struct SystemName {
    const char* name;
    const char* address;
    int asksFirst;
};

extern const SystemName kSystemNames[];
extern const int kSystemNameCount;

class Catalogue;

// Adds every command as a name.
void AddSystemNames(Catalogue& catalogue);
