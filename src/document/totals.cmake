# Invoice totals and payment deadline.
add_library(tarvex_document_totals STATIC ${CMAKE_CURRENT_LIST_DIR}/placeholder_totals.cpp)
target_link_libraries(tarvex_document_totals
  PUBLIC tarvex::session tarvex::platform_word tarvex::platform_dao tarvex::support
  PRIVATE tarvex_warnings)
