# The skin model: element classes and the loader that fills them from a skin
# definition and its archive (Win32: bitmaps, brushes, program resources). The combo
# strips use the element layout geometry of skin/window.
vx_library(vx_skin_model
  SOURCES SkinModel.cpp
  LIBS vx_skin_data vx_skin_window_core vx_framework)
