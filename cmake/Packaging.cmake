# Installation under the prefix, the Debian package (cpack -G DEB) and their tests.
include(GNUInstallDirs)

set(QX_PACKAGE qx284-config)

install(TARGETS qx284-config radiosim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/qx284-config.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/qx284-config.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# Rendered from the SVG: rsvg-convert -w 256 -h 256 qx284-config.svg -o qx284-config.png
install(FILES ${CMAKE_SOURCE_DIR}/packaging/qx284-config.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES ${CMAKE_SOURCE_DIR}/README.md
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${QX_PACKAGE})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${QX_PACKAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "QX284 Configuration developers <qx284-config@localhost>"
  CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "programming and service tool for QX284 mesh-radio alarm transceivers")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "A technician plugs one radio into the PC through the programming cable (a\n"
  "serial port) and reads its identity and parameters, configures it step by\n"
  "step (ID, RF channel, password, partitions and client codes), operates it in\n"
  "the field (bypass relay, PGM output, noise and diagnostic readings) and loads\n"
  "new firmware into it.\n"
  "\n"
  "Includes radiosim, a simulated radio on a pseudo-terminal.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends from the libraries the binaries link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The buttons' font and its metric-compatible substitute.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-crosextra-carlito")
include(CPack)

# Tests: the install under a temporary prefix and the serial-port permission message.
add_executable(openport tests/install/openport.cpp)
target_link_libraries(openport PRIVATE qx284logic Qt6::SerialPort util)
set_target_properties(openport PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

add_test(NAME install/prefix
  COMMAND ${CMAKE_SOURCE_DIR}/tests/install/check-install.sh ${CMAKE_BINARY_DIR})
add_test(NAME install/port-permission
  COMMAND ${CMAKE_SOURCE_DIR}/tests/install/port-permission.sh $<TARGET_FILE:openport>)
set_tests_properties(install/prefix install/port-permission PROPERTIES
  SKIP_RETURN_CODE 77 TIMEOUT 120)
