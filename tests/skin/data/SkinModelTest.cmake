# The skin model under Wine: our own skin and hand-made archives, with the program's
# bitmap resources linked in for the track fallback.
if(WIN32)
  set(_vx_model_res ${CMAKE_CURRENT_BINARY_DIR}/SkinModelTest.res.o)
  file(GLOB _vx_model_pictures ${PROJECT_SOURCE_DIR}/assets/resources/*)
  add_custom_command(OUTPUT ${_vx_model_res}
    COMMAND ${CMAKE_RC_COMPILER} -I ${PROJECT_SOURCE_DIR} -O coff
            -o ${_vx_model_res} ${CMAKE_CURRENT_SOURCE_DIR}/SkinModelTest.rc
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/SkinModelTest.rc ${_vx_model_pictures}
    COMMENT "Compiling the skin engine's bitmap resources for the model test")
  set_source_files_properties(${_vx_model_res} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  vx_test(test_skin_model
    SOURCES SkinModelTest.cpp ${_vx_model_res}
    LIBS vx_skin_model vx_skinpack_core)
endif()
