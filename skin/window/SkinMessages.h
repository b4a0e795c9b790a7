#pragma once
// The skin engine's private window messages. The numbers are fixed: window, menu and
// control skinning recognise each other by them.

namespace vx {

constexpr unsigned WM_SKINQUERY = 0x3523;           // a skinned window answers 1
constexpr unsigned WM_SKINATTACHED = 0x3503;        // posted (0, 1000) after a form object was attached
constexpr unsigned WM_SKINMDIREDRAW = 0x3516;       // to the MDI client: redraw with frames
constexpr unsigned WM_SKINNCPAINT = 0x3502;         // repaint the skinned frame
constexpr unsigned WM_SKINRESCROLL = 0x3517;        // wParam: a child whose scroll-bar skin is renewed
constexpr unsigned WM_SKINMENUAT = 0x3518;          // open the menu-bar drop-down under the point in lParam
constexpr unsigned WM_SKINRECOLOR = 0x3401;         // recolour and re-lay-out
constexpr unsigned WM_SKINAPPLIED = 0xBC4E;         // (0, 0x41A2) when an attach completed
constexpr unsigned WM_SKINPAINTFRAMETO = 0xBC4B;    // lParam 0x41A2: paint the frame into the DC in wParam
constexpr unsigned WM_SKINPING = 0xBC4D;            // answers 0x41A2 when lParam is 0x41A2, else 1
constexpr unsigned WM_SKINBUTTONCLICK = 0x3514;     // posted with the action code of a custom button
constexpr unsigned WM_SKINBUTTONVISIBLE = 0x3515;   // (visibility code, action): > 0 means visible
constexpr unsigned WM_SKINCONTROLSWITCH = 0x3506;   // the per-control skin switch
constexpr unsigned WM_SKINATTACHCHILD = 0x3519;     // posted to a form object: skin the child window in wParam

constexpr long kSkinMagic = 0x41A2;

}  // namespace vx
