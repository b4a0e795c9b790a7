# The skin model under Wine: our own skin and hand-made archives, with the program's
# bitmap resources linked in for the track fallback.
if(WIN32)
  vx_compile_resources(_vx_model_res SkinModelTest.rc DEPENDS ${PROJECT_SOURCE_DIR}/assets/resources/*)
  vx_test(test_skin_model
    SOURCES SkinModelTest.cpp ${_vx_model_res}
    LIBS vx_skin_model vx_skinpack_core)
endif()
