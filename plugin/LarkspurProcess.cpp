#include "LarkspurProcessContext.h"

void larkspurProcess (void* const instancesBegin[], const void* instancesEnd)
{
    // Audio passes through untouched until the effect instance processes it.
    (void) instancesBegin;
    (void) instancesEnd;
}
