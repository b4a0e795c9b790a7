#pragma once
// The common controls, one header per family: list view (ListView.h), tree view
// (TreeView.h), progress bar, track bar and up-down (RangeControls.h), tab control and
// page control (TabControls.h), status bar (StatusBar.h) and date-time picker
// (DateTimePicker.h). This header includes them all, with the standard controls.

#include "framework/DateTimePicker.h"
#include "framework/ListView.h"
#include "framework/RangeControls.h"
#include "framework/StatusBar.h"
#include "framework/StdCtrls.h"
#include "framework/TabControls.h"
#include "framework/TreeView.h"
