# The help file, Tessarine.html, lives beside the program that opens it.
set(BRIXEL_HELP_FILE "${PROJECT_SOURCE_DIR}/resources/help/Tessarine.html")

# Copies the help file next to target's executable after every build of it.
function(brixel_ship_help_file target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${BRIXEL_HELP_FILE}" "$<TARGET_FILE_DIR:${target}>/Tessarine.html"
    VERBATIM)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${BRIXEL_HELP_FILE}")
endfunction()
