# Installation: the two programs, the help guide, the program's icon in the hicolor theme, a
# desktop entry, AppStream metadata and the MIME types of the files Brixel opens, in the usual
# places under the prefix; `cpack -G DEB` packs the same files into a Debian package.
include(GNUInstallDirs)

set(BRIXEL_PACKAGING_DIR "${PROJECT_SOURCE_DIR}/packaging")
set(BRIXEL_PACKAGING_OUT "${CMAKE_BINARY_DIR}/packaging")
set(BRIXEL_HELP_INSTALL_DIR "${CMAKE_INSTALL_DATADIR}/brixel")
set(BRIXEL_DOC_INSTALL_DIR "${CMAKE_INSTALL_DATADIR}/doc/brixel")

# The installed program finds its guide from its own folder.
file(RELATIVE_PATH _brixel_help_from_bin "/${CMAKE_INSTALL_BINDIR}" "/${BRIXEL_HELP_INSTALL_DIR}")
target_compile_definitions(brixel_mainwindow PRIVATE BRIXEL_INSTALLED_HELP_DIR="${_brixel_help_from_bin}")

# The program's icon is drawn by brixel-icon with the document back end and kept in the tree as
# packaging/icon/brixel.ico; the theme's PNG pictures are made from that file at build time.
# After a change to the design, build brixel_draw_icon to draw the file again.
set(BRIXEL_ICON_FILE "${BRIXEL_PACKAGING_DIR}/icon/brixel.ico")
set(BRIXEL_ICON_SIZES 16 32 48 64 128)
add_library(brixel_program_icon STATIC "${BRIXEL_PACKAGING_DIR}/icon/ProgramIcon.cpp")
target_include_directories(brixel_program_icon PUBLIC "${BRIXEL_PACKAGING_DIR}/icon")
target_link_libraries(brixel_program_icon PUBLIC brixel_document)
add_executable(brixel-icon "${BRIXEL_PACKAGING_DIR}/icon/main.cpp")
target_link_libraries(brixel-icon PRIVATE brixel_program_icon brixel_platform_qt Qt6::Gui)
add_custom_target(brixel_draw_icon
  COMMAND brixel-icon draw "${BRIXEL_ICON_FILE}"
  COMMENT "Drawing ${BRIXEL_ICON_FILE}" VERBATIM)

set(_brixel_icon_pictures)
foreach(size IN LISTS BRIXEL_ICON_SIZES)
  list(APPEND _brixel_icon_pictures "${BRIXEL_PACKAGING_OUT}/icons/${size}x${size}.png")
endforeach()
add_custom_command(OUTPUT ${_brixel_icon_pictures}
  COMMAND brixel-icon png "${BRIXEL_ICON_FILE}" "${BRIXEL_PACKAGING_OUT}/icons"
  DEPENDS brixel-icon "${BRIXEL_ICON_FILE}"
  COMMENT "Making the icon theme's pictures" VERBATIM)

# Debian wants the changelog and the manual pages compressed, without time stamps.
set(_brixel_compressed)
foreach(source changelog brixel.1 brixel-cli.1)
  set(output "${BRIXEL_PACKAGING_OUT}/${source}.gz")
  add_custom_command(OUTPUT "${output}"
    COMMAND gzip -9 -n -c "${BRIXEL_PACKAGING_DIR}/${source}" > "${output}"
    DEPENDS "${BRIXEL_PACKAGING_DIR}/${source}")
  list(APPEND _brixel_compressed "${output}")
endforeach()
add_custom_target(brixel_packaging_files ALL DEPENDS ${_brixel_icon_pictures} ${_brixel_compressed})

configure_file("${BRIXEL_PACKAGING_DIR}/brixel.desktop.in"
               "${BRIXEL_PACKAGING_OUT}/${BRIXEL_APP_ID}.desktop" @ONLY)
configure_file("${BRIXEL_PACKAGING_DIR}/brixel.metainfo.xml.in"
               "${BRIXEL_PACKAGING_OUT}/${BRIXEL_APP_ID}.metainfo.xml" @ONLY)

install(TARGETS brixel brixel-cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
# The editor and brixel-cli look for the picture decoder program beside themselves, then in
# ../lib/brixel.
install(TARGETS brixel_picture_decoder RUNTIME DESTINATION lib/brixel)
# The editor loads its print dialogs from a folder of their own there: a shared object right in
# lib/brixel would have the package run ldconfig, which a module loaded by path has no use for.
install(TARGETS brixel_print LIBRARY DESTINATION lib/brixel/plugins)
# File managers make thumbnails of icons, cursors and animated cursors with brixel-cli. The
# entry names the installed program by its full path, which is known only when installing
# (the prefix may be given then, and the package has its own).
install(CODE "
  set(BRIXEL_CLI_PATH \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/brixel-cli\")
  configure_file(\"${BRIXEL_PACKAGING_DIR}/brixel.thumbnailer.in\"
                 \"${BRIXEL_PACKAGING_OUT}/installed/brixel.thumbnailer\" @ONLY)
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/thumbnailers\"
       TYPE FILE FILES \"${BRIXEL_PACKAGING_OUT}/installed/brixel.thumbnailer\")")
install(FILES "${BRIXEL_HELP_FILE}" DESTINATION "${BRIXEL_HELP_INSTALL_DIR}")
install(FILES "${BRIXEL_PACKAGING_OUT}/${BRIXEL_APP_ID}.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${BRIXEL_PACKAGING_OUT}/${BRIXEL_APP_ID}.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${BRIXEL_PACKAGING_DIR}/brixel-mime.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages" RENAME "${BRIXEL_APP_ID}.xml")
foreach(size IN LISTS BRIXEL_ICON_SIZES)
  install(FILES "${BRIXEL_PACKAGING_OUT}/icons/${size}x${size}.png"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
          RENAME "${BRIXEL_APP_ID}.png")
endforeach()
install(FILES "${BRIXEL_PACKAGING_OUT}/brixel.1.gz" "${BRIXEL_PACKAGING_OUT}/brixel-cli.1.gz"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${BRIXEL_PACKAGING_DIR}/copyright" "${BRIXEL_PACKAGING_OUT}/changelog.gz"
        DESTINATION "${BRIXEL_DOC_INSTALL_DIR}")

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brixel)
set(CPACK_PACKAGE_VENDOR "Brixel developers")
set(CPACK_PACKAGE_CONTACT "Brixel developers <support@brixel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for Windows icon, cursor and animated cursor files")
set(CPACK_PACKAGE_DESCRIPTION [[
Brixel opens Windows icon (.ico), cursor (.cur) and animated cursor (.ani)
files and edits each of their images pixel by pixel on an enlarged grid, with
a drawing tool and a colour on each mouse button; 32-bit images keep their
alpha. It adds, copies, resamples, imports and exports images, edits and
saves animated cursors with their rates and sequence, exports cursors as
Xcursor files for Linux desktops, and keeps a copy of unsaved work until it
is saved.

brixel-cli works on the same files from the command line: info, convert
(icons, cursors, animated cursors, Xcursor files and cursor themes, one file
or a batch), dump, import of pictures, thumbnail for file managers,
iconset, a whole icon set of every size from one picture or SVG drawing, and
extract, the icon and cursor groups of Windows programs and libraries as
files (the editor opens them group by group).]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's platform plugins are loaded at run time, so no library dependency names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
