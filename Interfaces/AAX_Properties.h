#pragma once

#include "AAX.h"

/** Property identifiers and values of the description property maps. */
using AAX_EProperty = int32_t;
using AAX_CPropertyValue = uint32_t;

/** Identifiers with a fixed meaning to the host. The plug-in-type identifiers (13 to 15) decide
    which process procedures a component offers; 36 to 42 are pointer properties. */
constexpr AAX_EProperty AAX_eProperty_ManufacturerID = 10;
constexpr AAX_EProperty AAX_eProperty_ProductID = 11;
constexpr AAX_EProperty AAX_eProperty_PlugInID_Native = 13;
constexpr AAX_EProperty AAX_eProperty_PlugInID_AudioSuite = 14;
constexpr AAX_EProperty AAX_eProperty_PlugInID_TI = 15;
constexpr AAX_EProperty AAX_eProperty_NativeProcessProc = 36;
constexpr AAX_EProperty AAX_eProperty_NativeInstanceInitProc = 37;
constexpr AAX_EProperty AAX_eProperty_NativeBackgroundProc = 38;
constexpr AAX_EProperty AAX_eProperty_TIDLLFileName = 39;
constexpr AAX_EProperty AAX_eProperty_TIProcessProc = 40;
constexpr AAX_EProperty AAX_eProperty_TIInstanceInitProc = 41;
constexpr AAX_EProperty AAX_eProperty_TIBackgroundProc = 42;
constexpr AAX_EProperty AAX_eProperty_InputStemFormat = 51;
constexpr AAX_EProperty AAX_eProperty_OutputStemFormat = 52;
constexpr AAX_EProperty AAX_eProperty_NativeAudioBufferLength = 54;

/** The range of identifiers that a property-map copy carries over. */
constexpr AAX_EProperty AAX_eProperty_MinProp = 10;
constexpr AAX_EProperty AAX_eProperty_MaxProp = 401;

/** Stem formats: the format index in the upper 16 bits, the channel count in the lower 16 bits. */
constexpr AAX_CPropertyValue AAX_eStemFormat_Mono = (0u << 16) | 1u;
constexpr AAX_CPropertyValue AAX_eStemFormat_Stereo = (1u << 16) | 2u;
/** Special values that every host accepts. */
constexpr AAX_CPropertyValue AAX_eStemFormat_None = 0xFFFF0000u;
constexpr AAX_CPropertyValue AAX_eStemFormat_Any = 0xFF9C0000u;
/** Format indices from this one on are known only to hosts that offer a description host. */
constexpr uint32_t AAX_eStemFormatIndex_FirstNewer = 13;

/** Effect categories. */
constexpr uint32_t AAX_ePlugInCategory_EQ = 0x00000001;
