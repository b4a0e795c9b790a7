# Tests of components, controls, forms, menus, dialogs, timers.
list(APPEND VX_FW_CORE_TESTS ComponentTest.cpp)
list(APPEND VX_FW_WIN_TESTS ControlsTest.cpp FormsTest.cpp StdCtrlsTest.cpp MenusTest.cpp
  ListViewTest.cpp TreeViewTest.cpp RangeControlsTest.cpp TabControlsTest.cpp StatusBarTest.cpp
  DialogsTest.cpp ExtCtrlsTest.cpp ControlHooksTest.cpp ControlPaintTest.cpp
  CommonControlsInputTest.cpp WindowSubclassTest.cpp)
