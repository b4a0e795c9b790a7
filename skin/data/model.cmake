# The skin model: element classes and the loader that fills them from a skin
# definition and its archive (Win32: bitmaps, brushes, program resources). The combo
# strips are drawn with the element drawing routines of skin/window.
vx_library(vx_skin_model
  SOURCES SkinModel.cpp
  LIBS vx_skin_window vx_skin_data vx_framework)
