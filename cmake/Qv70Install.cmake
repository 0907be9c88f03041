# cmake --install: the program folder <prefix>/lib/qv70 as the build's bin/
# holds it (the programs find the library, the logo and Help/ beside their own
# executable, links resolved), and links to the programs in <prefix>/bin.
include(GNUInstallDirs)
set(QV70_INSTALL_PROGRAM_DIR "lib/qv70" CACHE STRING "The program folder, under the install prefix")

set(qv70_installed_programs qv70cli qv70-sim)
if(QV70_BUILD_UI)
  list(PREPEND qv70_installed_programs qv70)
endif()
install(TARGETS ${qv70_installed_programs} RUNTIME DESTINATION ${QV70_INSTALL_PROGRAM_DIR})
install(TARGETS ZvUsbSgl LIBRARY DESTINATION ${QV70_INSTALL_PROGRAM_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/drivers/usbsgl/ZvUsbSgl.conf ${PROJECT_SOURCE_DIR}/resources/Logo_ZAVEL.bmp
        DESTINATION ${QV70_INSTALL_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Help DESTINATION ${QV70_INSTALL_PROGRAM_DIR} OPTIONAL)
# The graph picture is written into DAT/ only when the folder is there.
install(DIRECTORY DESTINATION ${QV70_INSTALL_PROGRAM_DIR}/DAT)

# Relative links, so that the installed tree can be moved or packaged (DESTDIR).
set(qv70_linked_programs "${qv70_installed_programs}")
set(qv70_bin_dir "${CMAKE_INSTALL_BINDIR}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/Qv70InstallLinks.cmake.in ${CMAKE_BINARY_DIR}/Qv70InstallLinks.cmake @ONLY)
install(SCRIPT ${CMAKE_BINARY_DIR}/Qv70InstallLinks.cmake)
