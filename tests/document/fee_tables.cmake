tarvex_add_test(document_tables_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/fee_table_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tabellenwahl_test.cpp
  LIBS tarvex_document_tables)
