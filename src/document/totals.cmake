# Invoice totals and payment deadline.
add_library(tarvex_document_totals OBJECT
  ${CMAKE_CURRENT_LIST_DIR}/abschlagsrechnungen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/betrag_marken.cpp
  ${CMAKE_CURRENT_LIST_DIR}/host_daten.cpp
  ${CMAKE_CURRENT_LIST_DIR}/summe_bilden.cpp
  ${CMAKE_CURRENT_LIST_DIR}/summen_rechnen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/summen_tabelle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/zahlungsziel.cpp)
target_link_libraries(tarvex_document_totals
  PUBLIC tarvex_session tarvex_platform_word tarvex_platform_dao tarvex_support
  PRIVATE tarvex_warnings)
