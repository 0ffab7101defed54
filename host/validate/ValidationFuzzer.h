#pragma once

#include "HostInstance.h"
#include "ValidationReport.h"

#include <random>
#include <string>
#include <vector>

/** The host's identifier of the master bypass it adds to every effect. */
inline const char* const masterBypass = "MasterBypassID";

/** The host's side while audio runs: parameters fuzzed through the effect-parameters interface and
    as automation, bypasses toggled, state moved between inserts, damaged state offered. */
class ValidationFuzzer
{
public:
    ValidationFuzzer (std::vector<HostInstance*> inserts, unsigned long seed, ValidationReport& reportTo);

    /** In the steady part only steady automation happens: no state is moved or damaged. */
    bool steady = false;

    void act();

    int parameterChanges = 0;
    int stateMoves = 0;
    int damagedStates = 0;

private:
    size_t pick (size_t count) { return std::uniform_int_distribution<size_t> (0, count - 1) (random); }

    double anyValue();

    /** Any parameter; in the steady part only steady automation, unless the value is one that must
        be refused anyway. */
    const std::string& anyIdentifier (double value);
    const std::string& anyIdentifier() { return anyIdentifier (0.0); }

    void expectRefusedIfNotFinite (HostInstance& insert, const std::string& identifier, double value, AAX_Result result,
                                   double before, const char* how);
    void sweep (HostInstance& insert);
    void setThroughInterface (HostInstance& insert);
    void automate (HostInstance& insert);
    void toggleBypasses (HostInstance& insert);
    void moveState (HostInstance& from);
    void offerDamagedState (HostInstance& insert);
    void convertStrings (HostInstance& insert);
    void checkValues (HostInstance& insert);

    std::vector<HostInstance*> instances;
    std::mt19937 random;
    ValidationReport& report;
    std::vector<std::string> identifiers;
    size_t sweepPosition = 0;
};
