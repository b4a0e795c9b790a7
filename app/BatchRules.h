#pragma once
// Which of the main window's controls may be used, from two facts: whether the encoder
// job runs and how many rows the queue holds. Platform-free.

namespace vx {

struct TControlStates {
    bool Start = false;         // btnStart
    bool Stop = false;          // btnStop
    bool OutputFolder = false;  // edtOutputFolder
    bool Browse = false;        // btnBrowse
    bool AddFile = false;       // btnAddFile
    bool Type = false;          // cboxType
    bool Delete = false;        // miDel
    bool DeleteAll = false;     // miDelAll
    bool Add = false;           // miAdd
};

// While the job runs only the stop button is usable; when idle everything is, except
// that starting and deleting need at least one row.
TControlStates ComputeControlStates(bool jobRunning, int rowCount);

}  // namespace vx
