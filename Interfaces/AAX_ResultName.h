#pragma once

#include "AAX.h"

/** The name of a result code: the code's name for 0 and -20001 ... -20046, otherwise
    "<unknown error code>". */
const char* AAX_ResultName (AAX_Result result) noexcept;
