# Invoice totals and payment deadline; shared like every layer.
add_library(tarvex_document_totals
  ${CMAKE_CURRENT_LIST_DIR}/abschlagsrechnungen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/betrag_marken.cpp
  ${CMAKE_CURRENT_LIST_DIR}/host_daten.cpp
  ${CMAKE_CURRENT_LIST_DIR}/summe_bilden.cpp
  ${CMAKE_CURRENT_LIST_DIR}/summen_rechnen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/summen_tabelle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/zahlungsziel.cpp)
target_link_libraries(tarvex_document_totals
  PUBLIC tarvex::session tarvex::platform_word tarvex::platform_dao tarvex::support
  PRIVATE tarvex_warnings)
