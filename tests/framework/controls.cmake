# Tests of components, controls, forms, menus, dialogs, timers.
list(APPEND VX_FW_CORE_TESTS ComponentTest.cpp)
# The window tests draw through the graphics unit; they join once it is built.
if(EXISTS ${PROJECT_SOURCE_DIR}/framework/Graphics.cpp)
  list(APPEND VX_FW_WIN_TESTS ControlsTest.cpp FormsTest.cpp StdCtrlsTest.cpp ComCtrlsTest.cpp MenusTest.cpp DialogsTest.cpp)
endif()
