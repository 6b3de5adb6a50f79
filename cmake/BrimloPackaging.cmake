# Installation beyond the program itself (desktop entry, icons, documents) and
# the Debian package built from it with CPack.

include(GNUInstallDirs)

set(BRIMLO_ICON_SIZES 16 32 48 64 128 256)

add_executable(brimlo_icon_painter ${PROJECT_SOURCE_DIR}/packaging/IconPainter.cpp)
target_link_libraries(brimlo_icon_painter PRIVATE brimlo_options Qt6::Gui)

set(icon_dir ${PROJECT_BINARY_DIR}/icons)
set(icon_outputs ${icon_dir}/brimlo.svg)
foreach(size IN LISTS BRIMLO_ICON_SIZES)
  list(APPEND icon_outputs ${icon_dir}/brimlo-${size}.png)
endforeach()
add_custom_command(
  OUTPUT ${icon_outputs}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}
  # A sanitized build runs the painter too; what Qt keeps until exit is no leak
  # of ours.
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:brimlo_icon_painter> ${icon_dir} ${BRIMLO_ICON_SIZES}
  DEPENDS brimlo_icon_painter
  COMMENT "Painting the program icon")
add_custom_target(brimlo_icons ALL DEPENDS ${icon_outputs})

install(FILES ${PROJECT_SOURCE_DIR}/packaging/brimlo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${icon_dir}/brimlo.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size IN LISTS BRIMLO_ICON_SIZES)
  install(FILES ${icon_dir}/brimlo-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME brimlo.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/docs/user-guide.md
              ${PROJECT_SOURCE_DIR}/docs/cli.md ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/brimlo)
# The command-line tool's manual page and bash completion.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/brimlo-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/brimlo-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME brimlo-cli)
# The pictures the user guide shows, beside it.
file(GLOB guide_pictures CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.png)
install(FILES ${guide_pictures} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/brimlo)

if(BRIMLO_TESTS)
  find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
  if(DESKTOP_FILE_VALIDATE)
    add_test(NAME packaging_desktop_entry_valid
             COMMAND ${DESKTOP_FILE_VALIDATE} ${PROJECT_SOURCE_DIR}/packaging/brimlo.desktop)
  endif()
  add_test(NAME packaging_cli_completion
           COMMAND bash ${PROJECT_SOURCE_DIR}/packaging/check_cli_completion.sh
                   $<TARGET_FILE:brimlo-cli> ${PROJECT_SOURCE_DIR}/packaging/brimlo-cli.bash-completion)
  find_program(MAN_PROGRAM man)
  if(MAN_PROGRAM)
    # The manual page reads without a warning of the formatter.
    add_test(NAME packaging_cli_manual
             COMMAND sh -c "! ${MAN_PROGRAM} --warnings -l ${PROJECT_SOURCE_DIR}/packaging/brimlo-cli.1 2>&1 >/dev/null | grep ."
    )
  endif()
  find_package(Python3 COMPONENTS Interpreter)
  if(Python3_FOUND)
    add_test(NAME packaging_icons_painted
             COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/packaging/check_icons.py
                     ${icon_dir} ${BRIMLO_ICON_SIZES})
    add_test(NAME bench_report_parser
             COMMAND ${Python3_EXECUTABLE} -m unittest discover -s ${PROJECT_SOURCE_DIR}/bench
                     -p "test_*.py")
    # No bytecode caches in the source tree.
    set_tests_properties(packaging_icons_painted bench_report_parser
                         PROPERTIES ENVIRONMENT PYTHONDONTWRITEBYTECODE=1)
  endif()
endif()

set(CPACK_PACKAGE_NAME brimlo)
set(CPACK_PACKAGE_VENDOR "Brimlo developers")
set(CPACK_PACKAGE_CONTACT "Brimlo developers <brimlo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "timber scaling of truck loads of logs")
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop program for timber scaling at a mill or weigh scale. A scaler keys
one truck load of logs at a time; the program computes gross and cull volumes
by Smalian's formula or the Alberta Cubic Metre rule, derives product codes,
saves fixed-width load files, posts a summary of each load to a master table
and prints load and master reports. The command brimlo-cli does the load and
master work from scripts: check, show, recompute, post, export and report.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The reports are laid out with these font metrics.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
include(CPack)
