# Fee table writer, clearing the totals, table selection dialog. Shared like every layer, so
# that the dialog's single instance is one per process.
add_library(tarvex_document_tables
  ${CMAKE_CURRENT_LIST_DIR}/fee_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tabelle_ermitteln.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tabellenwahl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/summe_loeschen.cpp)
target_link_libraries(tarvex_document_tables
  PUBLIC tarvex::session tarvex::platform_word tarvex::platform_ui tarvex::support
  PRIVATE tarvex_warnings)
