tarvex_add_test(document_totals_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/summe_bilden_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/zahlungsziel_test.cpp
  LIBS tarvex_document_totals SQLite::SQLite3)
