set(CALENDAR_CORE_SOURCES
  calendar/DayInfo.cpp
  calendar/DayText.cpp
  calendar/modOldCal.cpp
)
set(CALENDAR_UI_SOURCES
  calendar/frmSetCal.cpp
)
