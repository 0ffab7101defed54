#include "ValidationFuzzer.h"

#include "AAX_Errors.h"
#include "HostProject.h"
#include "HostString.h"

#include <cmath>
#include <iterator>
#include <limits>

namespace
{
/** What automation does while a mix plays: levels, phases and bypasses. Everything else can
    choose a band's response or start or stop bands (routing, solo, band switches), and with
    them the loading of a response waiting for its band. */
bool isSteadyAutomation (const std::string& identifier)
{
    for (const char* steadyIdentifier : { "input_level", "gain", "gain_L", "gain_R", "link_gain", "phase", "phase_L",
                                          "phase_R", "bypass", masterBypass })
        if (identifier == steadyIdentifier)
            return true;
    return identifier.rfind ("out_", 0) == 0;
}

/** Every parameter once through each end, past each end and through the values that must be
    refused, alternately through the interface and as automation, a few at a time. */
constexpr double sweepValues[] = {
    0.0, 1.0, -0.5, 1.5, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()
};
} // namespace

ValidationFuzzer::ValidationFuzzer (std::vector<HostInstance*> inserts, unsigned long seed, ValidationReport& reportTo)
    : instances (std::move (inserts))
    , random (seed)
    , report (reportTo)
{
    identifiers = instances.front()->parameterIds();
}

void ValidationFuzzer::act()
{
    HostInstance& insert = *instances[pick (instances.size())];
    if (! steady && sweepPosition < identifiers.size() * std::size (sweepValues))
    {
        sweep (insert);
        return;
    }
    int choice = std::uniform_int_distribution<int> (0, 9) (random);
    if (steady && (choice == 6 || choice == 7))
        choice = 9;
    switch (choice)
    {
        case 0:
        case 1:
            setThroughInterface (insert);
            break;
        case 2:
        case 3:
        case 4:
            automate (insert);
            break;
        case 5:
            toggleBypasses (insert);
            break;
        case 6:
            moveState (insert);
            break;
        case 7:
            offerDamagedState (insert);
            break;
        case 8:
            convertStrings (insert);
            break;
        default:
            checkValues (insert);
            break;
    }
}

double ValidationFuzzer::anyValue()
{
    static const double extremes[] = { 0.0,
                                       1.0,
                                       -1.0,
                                       2.0,
                                       0.5,
                                       1.0e30,
                                       -1.0e30,
                                       std::numeric_limits<double>::denorm_min(),
                                       std::numeric_limits<double>::max(),
                                       std::numeric_limits<double>::quiet_NaN(),
                                       std::numeric_limits<double>::infinity(),
                                       -std::numeric_limits<double>::infinity() };
    if (std::uniform_int_distribution<int> (0, 2) (random) == 0)
        return extremes[pick (std::size (extremes))];
    return std::uniform_real_distribution<double> (0.0, 1.0) (random);
}

const std::string& ValidationFuzzer::anyIdentifier (double value)
{
    while (true)
    {
        const std::string& identifier = identifiers[pick (identifiers.size())];
        if (! steady || ! std::isfinite (value) || isSteadyAutomation (identifier))
            return identifier;
    }
}

void ValidationFuzzer::expectRefusedIfNotFinite (HostInstance& insert, const std::string& identifier, double value,
                                                 AAX_Result result, double before, const char* how)
{
    ++report.checks;
    if (std::isfinite (value))
        return;
    const double after = insert.normalizedValue (identifier);
    if (result == AAX_SUCCESS || after != before)
        report.fail (std::string (how) + " " + identifier + " = " + describeValue (value) + " was taken (result " +
                     std::to_string (result) + ", value " + describeValue (before) + " -> " + describeValue (after) +
                     ")");
}

void ValidationFuzzer::sweep (HostInstance& insert)
{
    for (int step = 0; step < 4 && sweepPosition < identifiers.size() * std::size (sweepValues); ++step)
    {
        const std::string& identifier = identifiers[sweepPosition / std::size (sweepValues)];
        const double value = sweepValues[sweepPosition % std::size (sweepValues)];
        const double before = insert.normalizedValue (identifier);
        const bool automation = sweepPosition % 2 == 1;
        const AAX_Result result = automation ? insert.automate (identifier, value)
                                             : insert.effect().SetParameterNormalizedValue (identifier.c_str(), value);
        expectRefusedIfNotFinite (insert, identifier, value, result, before, automation ? "automation of" : "setting");
        ++sweepPosition;
        ++parameterChanges;
    }
    checkValues (insert);
}

void ValidationFuzzer::setThroughInterface (HostInstance& insert)
{
    const double value = anyValue();
    const std::string& identifier = anyIdentifier (value);
    const double before = insert.normalizedValue (identifier);
    const bool relative = std::uniform_int_distribution<int> (0, 3) (random) == 0;
    const AAX_Result result = relative ? insert.effect().SetParameterNormalizedRelative (identifier.c_str(), value)
                                       : insert.effect().SetParameterNormalizedValue (identifier.c_str(), value);
    expectRefusedIfNotFinite (insert, identifier, value, result, before, relative ? "a relative change of" : "setting");
    ++parameterChanges;
}

void ValidationFuzzer::automate (HostInstance& insert)
{
    const double value = anyValue();
    const std::string& identifier = anyIdentifier (value);
    const double before = insert.normalizedValue (identifier);
    expectRefusedIfNotFinite (insert, identifier, value, insert.automate (identifier, value), before, "automation of");
    ++parameterChanges;
}

void ValidationFuzzer::toggleBypasses (HostInstance& insert)
{
    insert.automate (masterBypass, insert.normalizedValue (masterBypass) < 0.5 ? 1.0 : 0.0);
    insert.automate ("bypass", insert.normalizedValue ("bypass") < 0.5 ? 1.0 : 0.0);
    parameterChanges += 2;
}

void ValidationFuzzer::moveState (HostInstance& from)
{
    HostInstance& to = *instances[pick (instances.size())];
    HostProject project;
    ++report.checks;
    if (const AAX_Result saved = from.saveChunks (project); saved != AAX_SUCCESS)
    {
        report.fail ("saving state chunks answered " + std::to_string (saved));
        return;
    }
    if (const AAX_Result loaded = to.loadChunks (project); loaded != AAX_SUCCESS)
    {
        report.fail ("restoring state chunks into another insert answered " + std::to_string (loaded));
        return;
    }
    for (const ProjectChunk& chunk : project.chunks)
    {
        bool equal = false;
        if (to.compareChunk (chunk, equal) != AAX_SUCCESS)
            report.fail ("comparing a restored chunk failed");
    }
    ++stateMoves;
}

void ValidationFuzzer::offerDamagedState (HostInstance& insert)
{
    HostProject project;
    if (insert.saveChunks (project) != AAX_SUCCESS || project.chunks.empty())
        return;
    ProjectChunk& chunk = project.chunks[pick (project.chunks.size())];
    switch (std::uniform_int_distribution<int> (0, 2) (random))
    {
        case 0:
            if (! chunk.data.empty())
                chunk.data.resize (pick (chunk.data.size()));
            break;
        case 1:
            for (int flips = 0; flips < 8 && ! chunk.data.empty(); ++flips)
                chunk.data[pick (chunk.data.size())] ^= static_cast<unsigned char> (1u << pick (8));
            break;
        default:
            chunk.data.assign (pick (64), static_cast<unsigned char> (pick (256)));
            break;
    }
    // Refusing is fine; crashing, hanging or taking non-finite values is not.
    insert.loadChunks (project);
    ++damagedStates;
    checkValues (insert);
}

void ValidationFuzzer::convertStrings (HostInstance& insert)
{
    static const char* const texts[] = { "",    "nan", "-inf", "1e999",  "-1e999",   "12",
                                         "-96", "abc", "0x10", "  3 dB", "\xff\xfe", "1e-320" };
    const std::string& identifier = anyIdentifier();
    HostString shown;
    insert.effect().StringFromNormalizedValue (identifier.c_str(), anyValue(), shown, 32);
    double value = 0.0;
    const HostString text (texts[pick (std::size (texts))]);
    ++report.checks;
    if (insert.effect().NormalizedValueFromString (identifier.c_str(), &value, text) == AAX_SUCCESS &&
        ! (value >= 0.0 && value <= 1.0))
        report.fail ("the text '" + std::string (text.CString()) + "' for " + identifier + " gave " +
                     describeValue (value));
}

void ValidationFuzzer::checkValues (HostInstance& insert)
{
    ++report.checks;
    for (const std::string& identifier : identifiers)
    {
        const double value = insert.normalizedValue (identifier);
        if (! (value >= 0.0 && value <= 1.0))
        {
            report.fail (identifier + " holds " + describeValue (value));
            return;
        }
    }
}
