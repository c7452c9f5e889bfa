set(DATA_CORE_SOURCES
  data/clsData.cpp
  data/clsDb.cpp
  data/clsINI.cpp
  data/clsMst.cpp
  data/Connection.cpp
  data/ConnectionText.cpp
  data/DataEvents.cpp
  data/DemoMasters.cpp
  data/Globals.cpp
  data/ProgramFolder.cpp
  data/Recordset.cpp
  data/Schema.cpp
  data/Sql.cpp
  data/SqlDialect.cpp
  data/Transaction.cpp
)

