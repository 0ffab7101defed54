#pragma once

/** The untyped base of every taper, so that parameters of any value type can take one. */
class AAX_ITaperDelegateBase
{
public:
    virtual ~AAX_ITaperDelegateBase() = default;
};
