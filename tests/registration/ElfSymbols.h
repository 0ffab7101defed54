#pragma once

#include <set>
#include <string>

// The names of the global symbols that a shared library defines in its dynamic symbol table
// (what `nm -D --defined-only` lists as global). Empty when the file is not a 64-bit ELF.
std::set<std::string> definedDynamicSymbols (const std::string& path);
