#pragma once
// The arithmetic of the control painters, kept free of the platform: which state frame
// of which skin element a control shows, where glyph, caption, check mark, arrows and
// thumb go, and which scroll-bar part lies under a point. The Win32 painters measure
// texts and read windows, then draw what these rules say.
//
// Rectangles are TLayoutRect (half-open). Halving of signed layout values truncates
// towards zero, as C++ integer division does.

#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/ElementLayout.h"
#include "skin/data/imgutil.h"

namespace vx {

// Mouse state bits of a control skin object.
constexpr unsigned msHot = 1;
constexpr unsigned msPressed = 2;

// ---- Push buttons and their family ---------------------------------------------------

// Button states, which are also the frame numbers of the skin's Buttons strip.
enum TSkinButtonState : int { sbNormal = 1, sbPressed = 2, sbDisabled = 3, sbHot = 4, sbFocused = 5 };

// Pressed, then hot, then focused or default, else normal; disabled overrides all.
TSkinButtonState ButtonState(unsigned mouseState, bool focused, bool isDefault, bool disabled);

// The glyph frame of a bitmap button (the framework's order up, disabled, down):
// pressed 3, disabled 2, any other 1.
int BitButtonGlyphFrame(TSkinButtonState state);
// The frame actually cut from a glyph of `numGlyphs` frames: frame 1 when it has fewer.
int GlyphFrameToCut(int glyphFrame, int numGlyphs);

// What a speed button shows: its state, its glyph frame, and whether the Buttons frame
// is drawn at all (a flat button only shows it pressed or hot).
struct TSpeedButtonLook {
    TSkinButtonState State = sbNormal;
    int GlyphFrame = 1;
    bool DrawFace = true;
};
TSpeedButtonLook SpeedButtonLook(bool down, bool enabled, unsigned mouseState, bool flat);

// The optional per-state caption colours of the Buttons element.
struct TButtonTextColours {
    bool HasNormal = false, HasMouseOver = false, HasPressed = false;
    TColour Normal = 0, MouseOver = 0, Pressed = 0;
};
// The caption colour: `base` (the font's or the skin's button text), replaced by the
// state's own colour when the skin gives one, and by the system button shadow colour
// when disabled.
TColour ButtonCaptionColour(TSkinButtonState state, bool enabled, const TButtonTextColours& colours, TColour base);

// The first "||" of a caption becomes a line break (CR LF); later ones stay.
std::wstring ReplaceFirstBar(std::wstring caption);

// Where a caption measured as width x height goes in the button rectangle `b`:
// centred, one pixel above the exact vertical centre; otherwise moved down by the same
// amount and stretched to b's left and right edges.
TLayoutRect CaptionRect(const TLayoutRect& b, int measuredWidth, int measuredHeight, bool centred);

// Glyph position of a bitmap button.
enum TGlyphLayout : int { glGlyphLeft = 0, glGlyphRight = 1, glGlyphTop = 2, glGlyphBottom = 3 };
// The layout property's value name, lower-cased ("blglyphtop" ...); left when unknown.
TGlyphLayout ButtonLayoutFromName(const std::wstring& lowerName);

// The area a bitmap button's caption is measured in (the button inset by 2, less the
// glyph and 2 pixels along the layout direction).
TLayoutRect BitButtonTextArea(int width, int height, int glyphWidth, int glyphHeight, TGlyphLayout layout);

enum class TTextAlign { Left, Right, Centre };
struct TGlyphPlacement {
    int GlyphX = 0, GlyphY = 0;
    TLayoutRect Text;
    TTextAlign Align = TTextAlign::Left;
    int Margin = 0, Spacing = 0;  // as used along the layout direction
};
// Glyph and caption of a bitmap button W x H: centred across the layout direction,
// placed along it by Margin and Spacing (-1 for automatic). `alignCentre`: the
// control's "Alignment" reads "tacenter".
TGlyphPlacement BitButtonPlacement(int width, int height, int glyphWidth, int glyphHeight, int textWidth,
                                   int textHeight, TGlyphLayout layout, int margin, int spacing,
                                   bool alignCentre);

// The drop-down button's arrow: a filled down-pointing triangle near the right edge.
struct TPoint2 {
    int X = 0, Y = 0;
    bool operator==(const TPoint2&) const = default;
};
void MenuButtonArrow(int width, int height, TPoint2 (&corners)[3]);
// The caption area of a drop-down button: the part left of the 17-pixel arrow area,
// inset by 2.
TLayoutRect MenuButtonTextArea(int width, int height);

// ---- Check boxes and radio buttons ----------------------------------------------------

// What decides the frame of a check box's strip.
struct TCheckInputs {
    // BM_GETSTATE of the window: bit 0 checked, bit 1 indeterminate.
    unsigned ButtonState = 0;
    bool Framework = false;   // a framework control (its properties are read)
    bool HasStateProperty = false;
    std::wstring StateName;   // enumeration "State", lower-cased
    bool HasCheckedProperty = false;
    std::wstring CheckedName; // enumeration "Checked", lower-cased
    bool HasDataField = false;
    int CheckState = 0;       // 0 none sent yet, else the last check value sent + 1
    bool HasDataBinding = false;
    bool Disabled = false;
    int StripFrames = 4;      // frames in the strip
};
// The frame (numbered from 1) of the check strip. A strip of 12 frames (unchecked,
// checked, mixed, four looks each: normal, hot, pressed, disabled) takes the
// renumbered frame. Never above the strip's frame count.
int CheckBoxFrame(const TCheckInputs& in);

// The frame of a radio strip: checked 2, else 1; disabled adds 2; a 12-frame strip
// renumbers as the check strip does.
int RadioButtonFrame(bool checked, bool disabled, int stripFrames);

// Glyph and text rectangles of a check box or radio button in `r` with a glyph of
// w x h: glyph vertically centred at the left edge (or the right with the left-text
// style), text beside it 2 pixels away.
struct TCheckLayout {
    TLayoutRect Glyph;
    TLayoutRect Text;
};
TCheckLayout CheckBoxLayout(const TLayoutRect& r, int glyphWidth, int glyphHeight, bool leftText);
// The DrawText flags of the caption: right-to-left reading for a right-to-left
// control, and right alignment too when the glyph is on the right.
unsigned CheckTextFlags(bool rightToLeft, bool leftText);
// How far a text rectangle moves down to centre a measured text in it.
int CentreTextOffset(int rectHeight, int measuredHeight);

// ---- Combo boxes ---------------------------------------------------------------------

// Frame of the combo button: enabled 2 pressed, 4 focused or hot, else 1; disabled 3.
int ComboButtonFrame(bool enabled, unsigned mouseState, bool focused);

// Where a combo box of rectangle `r` has its parts, with f the system's scroll-arrow
// width: the text area kept out of the painting, the drop-down button (full height)
// and the area its glyph is centred in. The button is at the right, or at the left for
// a window that puts its scroll bar on the left.
struct TComboLayout {
    TLayoutRect Excluded;
    TLayoutRect Button;
    TLayoutRect Glyph;
};
TComboLayout ComboButtonLayout(const TLayoutRect& r, int arrowWidth, bool buttonLeft);

// ---- Header controls -----------------------------------------------------------------

// The alignment of a header item from its format's low bits (1 right, 2 centre).
TTextAlign HeaderItemAlign(unsigned format);
// The image drawn with an item: its index when the format has the image (0x800) or
// owner-draw (0x8000) bit, else -1.
int HeaderImageIndex(unsigned format, int image);
// What a pointer over the header makes the hot item: the first stored rectangle that
// holds the point, else the hot item stays as it is.
int HeaderHotItem(const std::vector<TLayoutRect>& rects, int x, int y, int hot);
// The rectangle kept of an item for hot tracking: 3 pixels narrower at each side.
TLayoutRect HeaderHotRect(const TLayoutRect& item);
// Image and caption inside an item: 6 pixels of padding at each side, the image (when
// there is one) 4 pixels before the text, the pair placed by the alignment and
// vertically centred; a pair wider than the item starts at the left padding and the
// caption is cut at the right padding.
struct THeaderItemLayout {
    bool HasImage = false;
    TLayoutRect Image;
    TLayoutRect Text;
};
THeaderItemLayout HeaderItemLayout(const TLayoutRect& item, int imageWidth, int imageHeight, int textWidth,
                                   TTextAlign align);

// ---- Scroll bars ---------------------------------------------------------------------

// Scroll-bar parts; the values are the platform's scroll codes.
enum TScrollPart : int {
    spNone = -1, spFirstArrow = 0, spSecondArrow = 1, spPageBefore = 2, spPageAfter = 3, spThumb = 5,
};
// The part at coordinate p along a bar of length L with arrows of size b.
TScrollPart ScrollPartAt(int p, int arrowSize, int length, int thumbStart, int thumbEnd);

// The thumb of a stand-alone scroll bar from its range, page and position.
struct TThumb {
    int Start = 0, End = 0;
};
TThumb ScrollThumb(int length, int arrowSize, int min, int max, int page, int position);
// The thumb start while it is dragged: the start at the press plus the cursor's
// movement along the bar, kept inside the track.
int TrackedThumbStart(int startAtPress, int movement, int arrowSize, int length, int thumbLength);

// The arrow size actually drawn: half the bar when the bar is shorter than two arrows.
int ScrollArrowExtent(int length, int arrowSize);
// Thickness of the drawn bar: the Scrollbar strip's height, or the arrow size when
// they differ by more than 2.
int ScrollBarThickness(int stripHeight, int arrowSize);

// Frames of the 23-frame Scrollbar strip and of the thumb and track elements.
int ScrollArrowFrame(bool horizontal, bool second, TScrollPart activePart, bool tracking);
int ScrollThumbFrame(TScrollPart activePart, bool tracking);
int ScrollGripFrame(bool horizontal, TScrollPart activePart, bool tracking);
int ScrollTrackFrame(bool enabled);
// Where the grip (g long along the bar) goes on a thumb; false when it does not fit.
bool ScrollGripOffset(int thumbLength, int gripLength, int& offset);

// What a skinned scroll bar of Width x Height shows and where, in its own coordinates.
struct TScrollBarInputs {
    bool Horizontal = false;
    int Width = 0, Height = 0;
    int ArrowSize = 0;     // b
    int StripHeight = 0;   // the Scrollbar strip's height: the thickness and grip length
    int ThumbStart = 0, ThumbEnd = 0;  // along the bar
    bool Enabled = true;
    TScrollPart ActivePart = spNone;
    bool Tracking = false;
};
struct TScrollBarDrawing {
    int Length = 0;     // L
    int Thickness = 0;  // t, the cross extent of everything drawn
    TLayoutRect Track;  // the bar less b at both ends
    int TrackFrame = 1;
    TLayoutRect FirstArrow, SecondArrow;
    int FirstArrowFrame = 1, SecondArrowFrame = 5;
    bool DrawThumb = false;  // enabled, and the thumb lies inside the bar
    TLayoutRect Thumb;
    int ThumbFrame = 1;
    bool DrawGrip = false;   // it fits the thumb and lies inside the bar
    TLayoutRect Grip;
    int GripFrame = 17;
};
TScrollBarDrawing ScrollBarDrawing(const TScrollBarInputs& in);

}  // namespace vx
