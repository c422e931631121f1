#include "catalogue/SystemNames.h"

#include "catalogue/Catalogue.h"

// The order is SystemCommands' numbering.
const SystemName kSystemNames[] = {
    {"Lock", "kwivo:lock", 0},
    {"Sleep", "kwivo:sleep", 0},
    {"Sign out", "kwivo:signout", 1},
    {"Restart", "kwivo:restart", 1},
    {"Shut down", "kwivo:shutdown", 1},
    {"Empty Recycle Bin", "kwivo:emptybin", 1},
};

const int kSystemNameCount = static_cast<int>(sizeof kSystemNames / sizeof kSystemNames[0]);

void AddSystemNames(Catalogue& catalogue) {
    for (const SystemName& command : kSystemNames) {
        catalogue.AddName(command.address, command.name, CatalogueEntry::kShellItem);
    }
}
