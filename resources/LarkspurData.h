#pragma once

/** The embedded documents, compiled in as NUL-terminated UTF-8 text; each size counts the bytes
    before the NUL. */
namespace LarkspurData
{
/** The 275 impulse responses. */
extern const char responses_xml[];
extern const int responses_xmlSize;

/** The factory presets that a new presets file starts from. */
extern const char defaultPresets_xml[];
extern const int defaultPresets_xmlSize;
} // namespace LarkspurData
