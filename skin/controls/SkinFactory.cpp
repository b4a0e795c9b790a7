#include "skin/controls/SkinFactory.h"

#include "skin/controls/SkinBoxes.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinObjImage.h"

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
    // Not built yet: the control keeps its own look.
    case TSkinClass::SkinTab:
    case TSkinClass::SkinTab31:
    case TSkinClass::SkinAdvPage:
    case TSkinClass::SkinTrackBar:
    case TSkinClass::SkinUpDown:
    case TSkinClass::SkinProgress:
    case TSkinClass::SkinComBox:
    case TSkinClass::SkinDateTime:
    case TSkinClass::SkinScrollbar:
    case TSkinClass::SkinListView:
    case TSkinClass::SkinSizer:
    case TSkinClass::SkinMP:
    case TSkinClass::None: return nullptr;
    }
    return nullptr;
}

}  // namespace vx
