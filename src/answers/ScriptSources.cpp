#include "answers/ScriptSources.h"

#include <cstdlib>
#include <cstring>

#include "answers/AliasWords.h"
#include "text/TextFold.h"

ScriptSources::ScriptSources() : table(nullptr), count(0) {}

ScriptSources::~ScriptSources() {
    free(table);
}

void ScriptSources::Take(const char* section) {
    free(table);
    table = nullptr;
    count = 0;
    // The lines kept take no more than the section.
    size_t size = 1;
    for (const char* line = section; *line; line += strlen(line) + 1) size += strlen(line) + 1;
    if (size == 1 || !(table = static_cast<char*>(malloc(size)))) return;
    char* at = table;
    for (const char* line = section; *line; line += strlen(line) + 1) {
        const char* equals = strchr(line, '=');
        if (!equals || line[0] == ';') continue;
        const char* nameEnd = equals;
        while (nameEnd > line && nameEnd[-1] == ' ') --nameEnd;
        const char* command = equals + 1;
        while (*command == ' ') ++command;
        size_t nameLength = static_cast<size_t>(nameEnd - line);
        if (nameLength == 0 || nameLength > kMaxName || memchr(line, ' ', nameLength) || !TakesWords(command)) {
            continue;
        }
        memcpy(at, line, nameLength);
        at[nameLength] = '\0';
        at += nameLength + 1;
        size_t commandLength = strlen(command) + 1;
        memcpy(at, command, commandLength);
        at += commandLength;
        ++count;
    }
    if (count == 0) {
        free(table);
        table = nullptr;
    }
}

const char* ScriptSources::Find(const char* text, const char** words) const {
    const char* blank = strchr(text, ' ');
    if (!blank || !table) return nullptr;
    int length = static_cast<int>(blank - text);
    const char* name = table;
    for (int i = 0; i < count; ++i) {
        const char* command = name + strlen(name) + 1;
        if (static_cast<int>(strlen(name)) == length && EqualFolded(name, text, length)) {
            *words = blank + 1;
            return command;
        }
        name = command + strlen(command) + 1;
    }
    return nullptr;
}
