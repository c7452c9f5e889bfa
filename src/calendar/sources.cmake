set(CALENDAR_CORE_SOURCES
  calendar/DayInfo.cpp
  calendar/modOldCal.cpp
)
set(CALENDAR_UI_SOURCES
)
