# Fee table writer, clearing the totals, table selection dialog.
add_library(tarvex_document_tables OBJECT
  ${CMAKE_CURRENT_LIST_DIR}/fee_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tabelle_ermitteln.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tabellenwahl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/summe_loeschen.cpp)
target_link_libraries(tarvex_document_tables
  PUBLIC tarvex_session tarvex_platform_word tarvex_platform_ui tarvex_support
  PRIVATE tarvex_warnings)
