set(PRINTING_CORE_SOURCES
  printing/modPrint.cpp
)
set(PRINTING_UI_SOURCES
)
