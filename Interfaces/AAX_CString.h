#pragma once

#include "AAX_IString.h"

#include <string>

/** The string object with which the whole AAX layer passes text to and from the host. */
class AAX_CString : public AAX_IString
{
public:
    AAX_CString() = default;
    /** A null pointer gives the empty text. */
    AAX_CString (const char* text);
    AAX_CString (const AAX_CString& other) = default;
    explicit AAX_CString (const AAX_IString& other);
    AAX_CString& operator= (const AAX_CString& other);
    ~AAX_CString() override = default;

    uint32_t Length() const override;
    uint32_t MaxLength() const override;
    const char* CString() const override;
    void SetCString (const char* text) override;
    AAX_IString& AssignCString (const char* text) override;
    AAX_IString& AssignString (const AAX_IString& other) override;

    /** Removes min(count, Length() - position) bytes at the position; throws std::out_of_range
        for a position beyond the length. */
    void Erase (uint32_t position, uint32_t count);
    /** Appends the value in fixed notation with exactly three decimals ("0.500", "-12.000"). */
    void NumberToText (double value);
    /** Reads one number from the start of the text (leading blanks skipped, trailing characters
        ignored); on failure out becomes 0 and the answer is false. */
    bool TextToNumber (double& out) const;

private:
    std::string mText;
};
