#include "DescriptionPrinter.h"

#include "AAX_Callbacks.h"
#include "AAX_Properties.h"
#include "HostCollection.h"

#include <cstdio>
#include <string>

namespace
{
std::string hex (uint64_t value, int digits = 8)
{
    char text[32];
    std::snprintf (text, sizeof (text), "0x%0*llX", digits, static_cast<unsigned long long> (value));
    return text;
}

std::string pointerText (const void* pointer)
{
    char text[32];
    std::snprintf (text, sizeof (text), "%p", pointer);
    return text;
}

// A four-character code in quotes when it is printable, else in hexadecimal.
std::string fourCharacters (uint32_t code)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        const char c = static_cast<char> ((code >> shift) & 0xFF);
        if (c < 0x20 || c > 0x7E)
            return hex (code);
        text += c;
    }
    return "'" + text + "'";
}

std::string versionText (uint32_t version)
{
    return std::to_string (version >> 16) + "." + std::to_string ((version >> 8) & 0xFF) + "." +
           std::to_string (version & 0xFF) + " (" + hex (version) + ")";
}

std::string stemFormatText (uint32_t format)
{
    if (format == AAX_eStemFormat_Mono)
        return "mono (" + hex (format) + ")";
    if (format == AAX_eStemFormat_Stereo)
        return "stereo (" + hex (format) + ")";
    return "format " + std::to_string (format >> 16) + ", " + std::to_string (format & 0xFFFF) + " channels (" +
           hex (format) + ")";
}

std::string propertyName (AAX_EProperty id)
{
    switch (id)
    {
        case AAX_eProperty_ManufacturerID:
            return "manufacturer ID";
        case AAX_eProperty_ProductID:
            return "product ID";
        case AAX_eProperty_PlugInID_Native:
            return "native plug-in ID";
        case AAX_eProperty_PlugInID_AudioSuite:
            return "offline plug-in ID";
        case AAX_eProperty_PlugInID_TI:
            return "DSP plug-in ID";
        case AAX_eProperty_NativeProcessProc:
            return "native process procedure";
        case AAX_eProperty_NativeInstanceInitProc:
            return "native instance initialisation";
        case AAX_eProperty_NativeBackgroundProc:
            return "native background procedure";
        case AAX_eProperty_TIDLLFileName:
            return "DSP library file";
        case AAX_eProperty_TIProcessProc:
            return "DSP process procedure";
        case AAX_eProperty_InputStemFormat:
            return "input stem format";
        case AAX_eProperty_OutputStemFormat:
            return "output stem format";
        case AAX_eProperty_NativeAudioBufferLength:
            return "native buffer length";
        default:
            return "property";
    }
}

std::string propertyValueText (AAX_EProperty id, AAX_CPropertyValue value)
{
    switch (id)
    {
        case AAX_eProperty_ManufacturerID:
        case AAX_eProperty_ProductID:
        case AAX_eProperty_PlugInID_Native:
        case AAX_eProperty_PlugInID_AudioSuite:
        case AAX_eProperty_PlugInID_TI:
            return fourCharacters (value);
        case AAX_eProperty_InputStemFormat:
        case AAX_eProperty_OutputStemFormat:
            return stemFormatText (value);
        default:
            return std::to_string (value);
    }
}

void printProperties (std::ostream& out, const PropertySnapshot& properties, const std::string& indent)
{
    for (const auto& [id, value] : properties.values)
        out << indent << propertyName (id) << " (" << id << "): " << propertyValueText (id, value) << "\n";
    for (const auto& [id, pointer] : properties.pointers)
        out << indent << propertyName (id) << " (" << id << "): " << pointerText (pointer) << "\n";
}

std::string procPointerName (uint32_t procId)
{
    switch (procId)
    {
        case kAAX_ProcPtrID_Create_EffectParameters:
            return "creates the effect parameters";
        case kAAX_ProcPtrID_Create_EffectGUI:
            return "creates the GUI";
        default:
            return "procedure";
    }
}

std::string categoryText (uint32_t category)
{
    return category == AAX_ePlugInCategory_EQ ? "EQ (" + hex (category) + ")" : hex (category);
}

void printComponent (std::ostream& out, const ComponentRecord& component, size_t number)
{
    out << "  component " << number << "\n";
    out << "    context fields:\n";
    for (const auto& field : component.fields)
    {
        out << "      " << field.index << ": " << field.kind;
        if (field.kind == "data-in port")
            out << ", " << field.size << " bytes, type " << field.typeOrOption;
        else if (field.kind == "private data")
            out << ", " << field.size << " bytes, option " << field.typeOrOption;
        else if (field.kind == "meters")
            out << ", " << field.size << " meters";
        out << "\n";
    }
    for (const auto& procedure : component.processProcs)
    {
        if (procedure.native)
            out << "    native process procedure #" << procedure.procId << " at " << pointerText (procedure.processProc)
                << "\n";
        else
            out << "    DSP process procedure #" << procedure.procId << ": " << procedure.processProcName << " in "
                << procedure.dllFileName << "\n";
        out << "      properties:\n";
        printProperties (out, procedure.properties, "        ");
    }
}
} // namespace

void printDescription (std::ostream& out, const HostCollection& description)
{
    out << "manufacturer: " << description.manufacturerName << "\n";
    for (const auto& name : description.packageNames)
        out << "package: " << name << "\n";
    out << "package version: " << versionText (description.packageVersion) << "\n";
    if (! description.properties.values.empty() || ! description.properties.pointers.empty())
    {
        out << "package properties:\n";
        printProperties (out, description.properties, "  ");
    }

    for (const auto& [effectId, effect] : description.effects)
    {
        out << "effect " << effectId << "\n";
        for (const auto& name : effect->names)
            out << "  name: " << name << "\n";
        for (const auto category : effect->categories)
            out << "  category: " << categoryText (category) << "\n";
        for (const auto& [procId, procedure] : effect->procPointers)
            out << "  " << procPointerName (procId) << " (" << procId << "): " << pointerText (procedure) << "\n";
        size_t number = 1;
        for (const auto& component : effect->components)
            printComponent (out, component->record(), number++);
        for (const auto& meter : effect->meters)
            out << "  meter " << fourCharacters (meter.meterId) << ": " << meter.name << "\n";
    }
}
