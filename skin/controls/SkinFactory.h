#pragma once
// The one place where a control skin object is made for a dispatch decision: each skin
// class the engine has is created here from its class id and the variant the decision
// carries. Kinds not built yet make nothing, and the control keeps its own look.

#include <memory>

#include "skin/controls/DispatchRules.h"

namespace vx {

class TComponent;
class TSkinControl;

// A new, not yet initialised object of the decided class, owned by `owner` (the
// framework control it will skin; null for a bare window) as a component, and by the
// returned pointer until the caller lets go of it. Null for TSkinClass::None and for
// classes not built.
std::unique_ptr<TSkinControl> CreateControlSkin(const TSkinChoice& choice, TComponent* owner);

}  // namespace vx
