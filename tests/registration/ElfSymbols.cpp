#include "ElfSymbols.h"

#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace
{
template <typename T>
bool readAt (const std::vector<char>& file, size_t offset, T& value)
{
    if (offset > file.size() || file.size() - offset < sizeof (T))
        return false;
    std::memcpy (&value, file.data() + offset, sizeof (T));
    return true;
}
} // namespace

std::set<std::string> definedDynamicSymbols (const std::string& path)
{
    std::ifstream stream (path, std::ios::binary);
    const std::vector<char> file ((std::istreambuf_iterator<char> (stream)), std::istreambuf_iterator<char>());

    Elf64_Ehdr header{};
    if (! readAt (file, 0, header) || std::memcmp (header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64)
        return {};

    std::set<std::string> names;
    for (size_t i = 0; i < header.e_shnum; ++i)
    {
        Elf64_Shdr section{};
        if (! readAt (file, header.e_shoff + i * header.e_shentsize, section) || section.sh_type != SHT_DYNSYM)
            continue;
        Elf64_Shdr strings{};
        if (! readAt (file, header.e_shoff + section.sh_link * header.e_shentsize, strings))
            return {};

        for (size_t offset = 0; offset + sizeof (Elf64_Sym) <= section.sh_size; offset += sizeof (Elf64_Sym))
        {
            Elf64_Sym symbol{};
            if (! readAt (file, section.sh_offset + offset, symbol))
                return {};
            const unsigned binding = ELF64_ST_BIND (symbol.st_info);
            if (symbol.st_shndx == SHN_UNDEF || (binding != STB_GLOBAL && binding != STB_WEAK) ||
                symbol.st_name >= strings.sh_size)
                continue;
            const char* const name = file.data() + strings.sh_offset + symbol.st_name;
            names.insert (std::string (name, strnlen (name, strings.sh_size - symbol.st_name)));
        }
    }
    return names;
}
