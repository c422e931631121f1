#pragma once

// Identifiers shared by the resource script and the code.
#define IDS_TITLE 103
#define IDI_KWIVO 107
#define IDS_CLASSNAME 109
