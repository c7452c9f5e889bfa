set(SETTINGS_CORE_SOURCES
)
set(SETTINGS_UI_SOURCES
  settings/SetMenu.cpp
)
