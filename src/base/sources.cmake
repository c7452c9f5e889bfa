set(BASE_CORE_SOURCES
  base/Progress.cpp
  base/TerminalProgress.cpp
)
set(BASE_UI_SOURCES
  base/ProgressWindow.cpp
)
