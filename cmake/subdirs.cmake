# Adds each listed folder that has a CMakeLists.txt, so a subsystem joins the build by
# creating its own list file.
macro(vx_add_subdirectories)
  foreach(_vx_dir ${ARGN})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_vx_dir}/CMakeLists.txt)
      add_subdirectory(${_vx_dir})
    endif()
  endforeach()
endmacro()
