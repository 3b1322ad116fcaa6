# Programs look for their helper program and modules beside themselves (installed, under
# ../lib/brixel): a copy of helper's file, named name, beside target's executable in the build
# tree, made again whenever the helper changes.
function(brixel_ship_beside target helper name)
  get_target_property(folder ${target} BINARY_DIR)
  set(copy "${folder}/${name}")
  add_custom_command(OUTPUT "${copy}"
    COMMAND ${CMAKE_COMMAND} -E copy "$<TARGET_FILE:${helper}>" "${copy}"
    DEPENDS ${helper} VERBATIM)
  add_custom_target(${target}_${helper}_copy DEPENDS "${copy}")
  add_dependencies(${target} ${target}_${helper}_copy)
endfunction()

# The picture decoder program (src/imaging) and the print dialogs' module (src/widgets).
function(brixel_ship_picture_decoder target)
  brixel_ship_beside(${target} brixel_picture_decoder brixel-picture-decoder)
endfunction()

function(brixel_ship_print_module target)
  brixel_ship_beside(${target} brixel_print brixel-print.so)
endfunction()
