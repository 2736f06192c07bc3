#pragma once
#include <string>
#include <string_view>
#include <vector>

// One choice of a file dialog: what the user reads and the name patterns it
// stands for ("*.cfg", several separated by ';').
struct FileFilterEntry {
    std::wstring description;
    std::wstring patterns;
};

// Splits a filter text of the language file, "description|patterns|..."
// closed by an empty description ("||"), into its choices. A description
// without its patterns is dropped: a choice that matches nothing is no choice.
std::vector<FileFilterEntry> ParseFileFilter(std::wstring_view text);
