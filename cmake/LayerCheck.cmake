# The layer rules, checked at link time: each layer uses only the layers it links. For every
# layer a throwaway shared library is linked from the objects of that layer and of the layers
# it links (directly or through them) with -z defs, so that a call into any other layer fails
# the build. libtarvex.so itself holds all of them and could not tell.

# Appends to the list `out` the layers `target` links, directly or through them.
function(tarvex_layer_closure target out)
  set(closure ${${out}})
  get_target_property(deps ${target} LINK_LIBRARIES)
  foreach(dep IN LISTS deps)
    if(dep IN_LIST tarvex_checked_layers AND NOT dep IN_LIST closure)
      list(APPEND closure ${dep})
      tarvex_layer_closure(${dep} closure)
    endif()
  endforeach()
  set(${out} ${closure} PARENT_SCOPE)
endfunction()

set(tarvex_checked_layers ${tarvex_layers} tarvex_platform_settings_qt)
foreach(layer IN LISTS tarvex_checked_layers)
  set(closure ${layer})
  tarvex_layer_closure(${layer} closure)
  add_library(${layer}_layer_check SHARED)
  target_link_libraries(${layer}_layer_check PRIVATE ${closure})
  target_link_options(${layer}_layer_check PRIVATE -Wl,-z,defs)
endforeach()
