#pragma once

#include "AAX_IAutomationDelegate.h"

#include <cstdio>
#include <string>
#include <vector>

// Stands in for the host's automation delegate and records every call as text, for example
// "touch gain" or "request gain 0.5".
class FakeAutomationDelegate : public AAX_IAutomationDelegate
{
public:
    AAX_Result RegisterParameter (AAX_CParamID identifier) override { return record ("register", identifier); }
    AAX_Result UnregisterParameter (AAX_CParamID identifier) override { return record ("unregister", identifier); }
    AAX_Result RequestValue (AAX_CParamID identifier, double value) override
    {
        return record ("request", identifier, value);
    }
    AAX_Result PostCurrentValue (AAX_CParamID identifier, double value) override
    {
        return record ("post", identifier, value);
    }
    AAX_Result Touch (AAX_CParamID identifier) override { return record ("touch", identifier); }
    AAX_Result Release (AAX_CParamID identifier) override { return record ("release", identifier); }
    AAX_Result AutomationCall9 (AAX_CParamID identifier, void*) override { return record ("call7", identifier); }

    std::vector<std::string> calls;

private:
    AAX_Result record (const char* what, AAX_CParamID identifier)
    {
        calls.push_back (std::string (what) + " " + identifier);
        return 0;
    }

    AAX_Result record (const char* what, AAX_CParamID identifier, double value)
    {
        char number[64];
        std::snprintf (number, sizeof (number), "%g", value);
        calls.push_back (std::string (what) + " " + identifier + " " + number);
        return 0;
    }
};
