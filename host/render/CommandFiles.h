#pragma once

#include <string>
#include <vector>

struct InsertSettings;

/** The files a command reads and the files it writes, as its command line names them, and the one
    rule about them, which every command asks before it writes anything: each file written must be
    one the writers replace, and neither a file the command reads nor another file it writes, by
    any spelling (links, hard links, ".."). */
class CommandFiles
{
public:
    /** A file the command reads, called `what` when a written file is refused for being it ("the
        input file"). An empty path is none. */
    void reads (const std::string& path, const std::string& what);

    /** A file the command writes, named `label` when it is refused ("project p.lkp") and called
        `what` when a later one is refused for being it ("the output file"). It may be the read file
        called `mayReplace`. An empty path is none. */
    void writes (const std::string& path, const std::string& label, const std::string& what,
                 const std::string& mayReplace = {});

    /** The project the settings load, and the one they save, which may be the one loaded. */
    void addProjects (const InsertSettings& settings);

    /** "cannot write LABEL: REASON" for the first file written that cannot be, or empty. */
    std::string refusal() const;

private:
    struct Named
    {
        std::string path;
        std::string label;
        std::string what;
        std::string mayReplace;
    };
    std::vector<Named> read;
    std::vector<Named> written;
};
