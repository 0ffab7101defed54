#pragma once

/** The editor's SVG documents, compiled in from resources/artwork as NUL-terminated UTF-8 text.
    Each document names itself in its <title>; its size is its viewBox. Buttons are rounded dark grey
    keys whose glyph is the only pure white (#fff) in the document, so that recolouring a copy
    changes the glyph alone. */
namespace Artwork
{
extern const char slider[];            // "slider", 177.9 x 385.56: the fader cap
extern const char knobPointerDetail[]; // "knob-pointer-detail", 100 x 100: fixed lighting over a knob
extern const char knobPointer[];       // "knob-pointer", 100 x 100: the knob; its black parts take the knob colour
extern const char buttonLe[];          // "button-le", 90 x 60: low shelf
extern const char buttonPk[];          // "button-pk", 90 x 60: peak
extern const char buttonHe[];          // "button-he", 90 x 60: high shelf
extern const char buttonL[];           // "button-L", 90 x 60
extern const char buttonR[];           // "button-R", 90 x 60
extern const char buttonM[];           // "button-M", 90 x 60
extern const char buttonS[];           // "button-S", 90 x 60
extern const char buttonA[];           // "button-A", 90 x 60
extern const char buttonSpeaker[];     // "button-speaker", 90 x 60: solo
extern const char buttonLink[];        // "button-link", 90 x 60
extern const char buttonPhase[];       // "button-phase", 90 x 60
extern const char buttonReset[];       // "button-reset", 90 x 90.41
extern const char korvelLogo[];        // "korvel-logo", 500 x 340: its #7df97d parts are recoloured
extern const char buttonOn[];          // "button-on", 90 x 60 (not drawn by the editor)
extern const char buttonOff[];         // "button-off", 90 x 60 (not drawn by the editor)
extern const char buttonMOn[];         // "button-M-on", 90 x 60 (not drawn by the editor)
extern const char buttonBack[];        // "button-back", 90 x 60 (not drawn by the editor)
extern const char button[];            // "button", 26.8 x 26.8 (not drawn by the editor)
} // namespace Artwork
