#include "framework/Messages.h"

namespace vx {

bool IsFrameworkMessage(unsigned msg) { return msg >= CM_BASE && msg < CN_BASE + 0x0400; }

}  // namespace vx
