#pragma once

/** The untyped base of every display, so that parameters of any value type can take one. */
class AAX_IDisplayDelegateBase
{
public:
    virtual ~AAX_IDisplayDelegateBase() = default;
};
