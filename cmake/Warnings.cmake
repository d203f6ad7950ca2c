# Warnings for every target of ours; CI turns them into errors with TARVEX_WERROR.
add_library(tarvex_warnings INTERFACE)
target_compile_options(tarvex_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align -Wunused -Woverloaded-virtual
  $<$<BOOL:${TARVEX_WERROR}>:-Werror>)
if(TARVEX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
