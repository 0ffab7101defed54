#pragma once

#include "AAX_IString.h"

#include <string>

/** The host's own string object, for operations that hand text back through an AAX_IString. */
class HostString final : public AAX_IString
{
public:
    HostString() = default;
    explicit HostString (std::string initial)
        : text (std::move (initial))
    {
    }

    uint32_t Length() const override { return static_cast<uint32_t> (text.size()); }
    uint32_t MaxLength() const override { return 0xFFFFFFFFu; }
    const char* CString() const override { return text.c_str(); }
    void SetCString (const char* newText) override { text = newText != nullptr ? newText : ""; }
    AAX_IString& AssignCString (const char* newText) override
    {
        SetCString (newText);
        return *this;
    }
    AAX_IString& AssignString (const AAX_IString& other) override
    {
        SetCString (other.CString());
        return *this;
    }

    const std::string& str() const noexcept { return text; }

private:
    std::string text;
};
