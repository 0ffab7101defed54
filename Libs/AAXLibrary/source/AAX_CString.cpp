#include "AAX_CString.h"

#include <ios>
#include <locale>
#include <sstream>

AAX_CString::AAX_CString (const char* text)
    : mText (text != nullptr ? text : "")
{
}

AAX_CString::AAX_CString (const AAX_IString& other)
    : AAX_CString (other.CString())
{
}

AAX_CString& AAX_CString::operator= (const AAX_CString& other)
{
    if (this != &other)
        mText = other.mText;
    return *this;
}

uint32_t AAX_CString::Length() const
{
    return static_cast<uint32_t> (mText.size());
}

uint32_t AAX_CString::MaxLength() const
{
    return 0xFFFFFFFEu;
}

const char* AAX_CString::CString() const
{
    return mText.c_str();
}

void AAX_CString::SetCString (const char* text)
{
    mText = text != nullptr ? text : "";
}

AAX_IString& AAX_CString::AssignCString (const char* text)
{
    SetCString (text);
    return *this;
}

AAX_IString& AAX_CString::AssignString (const AAX_IString& other)
{
    if (&other != this)
        SetCString (other.CString());
    return *this;
}

void AAX_CString::Erase (uint32_t position, uint32_t count)
{
    mText.erase (position, count);
}

void AAX_CString::NumberToText (double value)
{
    // The classic locale keeps the text free of thousands separators whatever the global one.
    std::ostringstream stream;
    stream.imbue (std::locale::classic());
    stream << std::fixed;
    stream.precision (3);
    stream << value;
    mText += stream.str();
}

bool AAX_CString::TextToNumber (double& out) const
{
    std::istringstream stream (mText);
    stream.imbue (std::locale::classic());
    double value = 0.0;
    if (! (stream >> value))
    {
        out = 0.0;
        return false;
    }
    out = value;
    return true;
}
