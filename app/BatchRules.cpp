#include "app/BatchRules.h"

namespace vx {

TControlStates ComputeControlStates(bool jobRunning, int rowCount) {
    const bool idle = !jobRunning;
    const bool idleWithRows = idle && rowCount > 0;
    TControlStates s;
    s.Start = idleWithRows;
    s.Stop = jobRunning;
    s.OutputFolder = s.Browse = s.AddFile = s.Type = s.Add = idle;
    s.Delete = s.DeleteAll = idleWithRows;
    return s;
}

}  // namespace vx
