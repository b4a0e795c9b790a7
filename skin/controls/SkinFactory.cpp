#include "skin/controls/SkinFactory.h"

#include "skin/controls/SkinAdvPage.h"
#include "skin/controls/SkinBoxes.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinDateTime.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinObjImage.h"
#include "skin/controls/SkinPlayer.h"
#include "skin/controls/SkinRanges.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/controls/SkinTabSet.h"
#include "skin/controls/SkinTabs.h"

namespace vx {

std::unique_ptr<TSkinControl> CreateControlSkin(const TSkinChoice& choice, TComponent* owner) {
    switch (choice.Class) {
    case TSkinClass::SkinButton: return std::make_unique<TSkinButton>(owner);
    case TSkinClass::SkinBitButton: {
        auto skin = std::make_unique<TSkinBitButton>(owner);
        skin->GlyphProperty = choice.GlyphProperty;
        return skin;
    }
    case TSkinClass::SkinSpeedButton: {
        auto skin = std::make_unique<TSkinSpeedButton>(owner);
        skin->GlyphProperty = choice.GlyphProperty;
        return skin;
    }
    case TSkinClass::SkinMenuButton: return std::make_unique<TSkinMenuButton>(owner);
    case TSkinClass::SkinCheckBox: return std::make_unique<TSkinCheckBox>(owner);
    case TSkinClass::SkinRadioButton: return std::make_unique<TSkinRadioButton>(owner);
    case TSkinClass::SkinObjImage: return std::make_unique<TSkinObjImage>(owner, choice.ObjImageKind);
    case TSkinClass::SkinGroupBox: return std::make_unique<TSkinGroupBox>(owner);
    case TSkinClass::SkinBox: return std::make_unique<TSkinBox>(owner);
    case TSkinClass::SkinBoxH: return std::make_unique<TSkinBoxH>(owner);
    case TSkinClass::SkinEdit: return std::make_unique<TSkinEdit>(owner);
    case TSkinClass::SkinTab: return std::make_unique<TSkinTab>(owner);
    case TSkinClass::SkinTabBtn: return std::make_unique<TSkinTabBtn>(owner);
    // A page shows its page control's pane through the framework's parent painting.
    case TSkinClass::SkinTabSheet: return owner ? std::make_unique<TSkinTabSheet>(owner) : nullptr;
    case TSkinClass::SkinStatusBar: return std::make_unique<TSkinStatusBar>(owner);
    case TSkinClass::SkinScControl: return std::make_unique<TSkinScControl>(owner);
    case TSkinClass::SkinTrackBar: return std::make_unique<TSkinTrackBar>(owner);
    case TSkinClass::SkinUpDown: return std::make_unique<TSkinUpDown>(owner);
    case TSkinClass::SkinProgress: return std::make_unique<TSkinProgress>(owner);
    case TSkinClass::SkinComBox: {
        auto skin = std::make_unique<TSkinComBox>(owner);
        skin->ExtendedMode = choice.ExtendedMode;
        return skin;
    }
    // The picker's arrow is a framework control on the picker: a bare window gets none.
    case TSkinClass::SkinDateTime: return owner ? std::make_unique<TSkinDateTime>(owner) : nullptr;
    // Scroll-bar skins lay framework companions over a framework control's bars.
    case TSkinClass::SkinScrollbar: {
        if (!owner) return nullptr;
        auto skin = std::make_unique<TSkinScrollbar>(owner);
        skin->SingleMode = choice.SingleMode;
        return skin;
    }
    case TSkinClass::SkinListView: {
        if (!owner) return nullptr;
        auto skin = std::make_unique<TSkinListView>(owner);
        skin->SingleMode = choice.SingleMode;
        return skin;
    }
    case TSkinClass::SkinSizer: return std::make_unique<TSkinSizer>(owner);
    // A tab set publishes its tabs as properties of a framework control.
    case TSkinClass::SkinTab31: return owner ? std::make_unique<TSkinTab31>(owner) : nullptr;
    case TSkinClass::SkinAdvPage: return std::make_unique<TSkinAdvPage>(owner);
    // The buttons are shown on a framework panel laid over the player.
    case TSkinClass::SkinMP: return owner ? std::make_unique<TSkinMP>(owner) : nullptr;
    case TSkinClass::None: return nullptr;
    }
    return nullptr;
}

}  // namespace vx
