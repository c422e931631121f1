#pragma once

#include "catalogue/CatalogueBuild.h"

// The [sources] of the settings: "name=command line", the command line
// holding "%s" once. Typing the name, a blank and words runs the command
// with the words in place (SourceRun). A line without "%s", with it twice,
// or whose name is empty, holds a blank or is longer than kMaxName is
// refused. Holds memory only while there are sources. Plain C++, so it also
// builds natively.
class ScriptSources : public SectionSink {
public:
    static constexpr int kMaxName = 63;

    ScriptSources();
    ~ScriptSources() override;

    // Takes the lines of a section buffer (each terminated, the last
    // followed by an empty one) in place of those held; "=" splits each, the
    // blanks around it trimmed.
    void Take(const char* section) override;
    // The command line of the source whose name (letter case aside) the
    // text's first word is, with *words the text after the blank; null when
    // the text is no source's, or has no blank.
    const char* Find(const char* text, const char** words) const;
    int Count() const { return count; }

private:
    // "name", then "command line", each terminated, for each source.
    char* table;
    int count;
};
