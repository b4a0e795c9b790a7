# Components, controls, forms, menus, dialogs, timers.
list(APPEND VX_FW_CORE_SOURCES Component.cpp Messages.cpp)
list(APPEND VX_FW_WIN_SOURCES
  Controls.cpp WinControl.cpp WinControlMessages.cpp Forms.cpp StdCtrls.cpp ExtCtrls.cpp Buttons.cpp
  ListView.cpp TreeView.cpp RangeControls.cpp TabControls.cpp StatusBar.cpp DateTimePicker.cpp
  Menus.cpp Dialogs.cpp ImgList.cpp WindowSubclass.cpp FormBuilding.cpp)
