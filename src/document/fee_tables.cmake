# Fee table writer, clearing the totals, table selection dialog.
add_library(tarvex_document_tables STATIC ${CMAKE_CURRENT_LIST_DIR}/placeholder_tables.cpp)
target_link_libraries(tarvex_document_tables
  PUBLIC tarvex::session tarvex::platform_word tarvex::platform_ui tarvex::support
  PRIVATE tarvex_warnings)
