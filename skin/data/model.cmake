# The skin model: element classes and the loader that fills them from a skin
# definition and its archive (Win32: bitmaps, brushes, program resources). The combo
# strips are drawn with the element drawing routines.
vx_library(vx_skin_model
  SOURCES SkinModel.cpp
  LIBS vx_skin_data vx_framework)

# The skin data component a form carries (TSkinData) and the link through which it
# reaches the skin manager of the window layer without depending on it.
vx_library(vx_skin_data_component
  SOURCES SkinData.cpp SkinManagerLink.cpp
  LIBS vx_skin_model vx_framework)
