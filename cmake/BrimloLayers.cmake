# Layers depend only downward: the libraries below the windows link no Qt
# Widgets and no Qt Gui. brimlo_layer_check(target ...) writes every
# library each target links, directly or through another, into the build
# folder, and adds a test that reads the list back and fails on a widget
# or GUI library (cmake/CheckLayers.cmake).

# Every library target links, walked through the targets it names.
function(brimlo_link_closure out target)
  set(seen "")
  set(todo ${target})
  while(todo)
    list(POP_FRONT todo current)
    if(NOT TARGET ${current})
      continue()
    endif()
    get_target_property(aliased ${current} ALIASED_TARGET)
    if(aliased)
      set(current ${aliased})
    endif()
    foreach(property LINK_LIBRARIES INTERFACE_LINK_LIBRARIES)
      get_target_property(libraries ${current} ${property})
      if(NOT libraries)
        continue()
      endif()
      foreach(library IN LISTS libraries)
        # A static library's private links appear as $<LINK_ONLY:name>.
        string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" library "${library}")
        if(library MATCHES "^\\$<" OR library IN_LIST seen)
          continue()
        endif()
        list(APPEND seen ${library})
        list(APPEND todo ${library})
      endforeach()
    endforeach()
  endwhile()
  list(SORT seen)
  set(${out} "${seen}" PARENT_SCOPE)
endfunction()

function(brimlo_layer_check)
  set(file ${CMAKE_BINARY_DIR}/layer-links.txt)
  set(text "")
  foreach(target IN LISTS ARGN)
    brimlo_link_closure(links ${target})
    string(REPLACE ";" "," links "${links}")
    string(APPEND text "${target}: ${links}\n")
  endforeach()
  file(WRITE ${file} "${text}")
  add_test(NAME LayerLinks
    COMMAND ${CMAKE_COMMAND} -DLINKS=${file} -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake)
endfunction()
