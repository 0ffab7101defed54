#pragma once

#include <cstdint>

// Basic value types shared by every part of the AAX layer.

/** A result code: 0 for success, negative for the named failures (see AAX_Errors.h). */
using AAX_Result = int32_t;

/** A parameter identifier: a NUL-terminated text. */
using AAX_CParamID = const char*;

/** A four-character code such as a chunk type ('elck'). */
using AAX_CTypeID = uint32_t;

/** The index of a field of the host's audio-algorithm context. */
using AAX_CFieldIndex = int32_t;
