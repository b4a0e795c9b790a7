#pragma once
// The arithmetic of the media player's skin, free of the platform: the player's nine
// buttons, the button sets it publishes ("[btPlay,btStop]"), where each visible button
// lies, which one is under a point, how each one looks and the name of its picture.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/ElementLayout.h"

namespace vx {

// The player's buttons in the order the player shows them; bit n of a button set is
// button n.
enum TPlayerButton : int { pbPlay, pbPause, pbStop, pbNext, pbPrev, pbStep, pbBack, pbRecord, pbEject, pbCount };
using TPlayerButtonSet = std::uint32_t;
constexpr TPlayerButtonSet kAllPlayerButtons = (1u << pbCount) - 1;

// The button's name as the player's sets spell it without "bt" ("Play", "Eject").
std::wstring_view PlayerButtonName(int button);

// A published button set: "[btPlay, btStop]", names in any letter case, spaces
// allowed, "[]" empty. False for anything else (an unknown name, a missing bracket),
// and `set` is left as it was.
bool ParsePlayerButtonSet(std::wstring_view text, TPlayerButtonSet& set);

struct TPlayerButtonRect {
    int Button = 0;
    TLayoutRect Rect;
};
// The visible buttons side by side over the whole control, in button order, all as
// wide as the width divided among them; the pixels left over go one each to the first
// buttons. Nothing for an empty set or a control without room.
std::vector<TPlayerButtonRect> PlayerButtonRects(int width, int height, TPlayerButtonSet visible);
// The button under (x, y), or -1.
int PlayerButtonAt(const std::vector<TPlayerButtonRect>& rects, int x, int y);

// How a button's glyph looks: disabled (not in the enabled set, or the player
// disabled), coloured (in the coloured set), else plain.
enum class TPlayerGlyphLook { Plain, Coloured, Disabled };
TPlayerGlyphLook PlayerGlyphLook(int button, TPlayerButtonSet enabled, TPlayerButtonSet coloured,
                                 bool playerEnabled);
// The picture's resource name, "%s_%s" of the look's prefix ("MP", "MPCOLOR",
// "MPDISABLED") and the button's name in capitals: "MPCOLOR_PLAY".
std::wstring PlayerGlyphResourceName(int button, TPlayerGlyphLook look);

}  // namespace vx
