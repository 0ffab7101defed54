#include "CommandFiles.h"

#include "AtomicFileWrite.h"
#include "CommandLinePath.h"
#include "InsertSettings.h"

namespace
{
const char* const loadedProject = "the loaded project";
} // namespace

void CommandFiles::reads (const std::string& path, const std::string& what)
{
    if (! path.empty())
        read.push_back ({ path, path, what, {} });
}

void CommandFiles::writes (const std::string& path, const std::string& label, const std::string& what,
                           const std::string& mayReplace)
{
    if (! path.empty())
        written.push_back ({ path, label, what, mayReplace });
}

void CommandFiles::addProjects (const InsertSettings& settings)
{
    reads (settings.loadProjectPath, loadedProject);
    // Saving over the project loaded is how a project is edited: it is read whole before anything
    // is written.
    writes (settings.saveProjectPath, "project " + settings.saveProjectPath, "the project", loadedProject);
}

std::string CommandFiles::refusal() const
{
    // What is in their place first: the writers would refuse it anyway, after the long work.
    for (const Named& file : written)
        if (std::string reason; ! isReplaceableFile (file.path, reason))
            return "cannot write " + file.label + ": " + reason;

    for (size_t index = 0; index < written.size(); ++index)
    {
        const Named& file = written[index];
        for (const Named& source : read)
            if (source.what != file.mayReplace && namesSameFile (file.path, source.path))
                return "cannot write " + file.label + ": it is " + source.what;
        for (size_t earlier = 0; earlier < index; ++earlier)
            if (namesSameFile (file.path, written[earlier].path))
                return "cannot write " + file.label + ": it is " + written[earlier].what;
    }
    return {};
}
