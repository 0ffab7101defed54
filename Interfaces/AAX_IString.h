#pragma once

#include <cstdint>

/** Text exchanged between the plug-in and the host. */
class AAX_IString
{
public:
    virtual ~AAX_IString() = default;

    /** Number of bytes of the text. */
    virtual uint32_t Length() const = 0;
    /** The largest length the string can hold. */
    virtual uint32_t MaxLength() const = 0;
    /** The NUL-terminated bytes. */
    virtual const char* CString() const = 0;
    virtual void SetCString (const char* text) = 0;
    virtual AAX_IString& AssignCString (const char* text) = 0;
    /** Replaces the text by the CString of another string. */
    virtual AAX_IString& AssignString (const AAX_IString& other) = 0;
};
