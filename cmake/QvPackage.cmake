# What `cmake --install` puts on the system and what CPack wraps into a
# Debian package: the two programs, and under share/quorvane the defaults an
# installation in a simulator folder is laid out from (quorvane-cli install):
# the skin, the help pages, the sample data and a settings file. The package
# itself writes nothing into any simulator folder. The recogniser's model
# comes from the system package that ships it.
include(GNUInstallDirs)

set(QV_PACKAGE_DATA ${CMAKE_INSTALL_DATADIR}/quorvane)
set(QV_DEMO_INSTALLATION "${QV_DEMO_DIR}/FSX/Veltrane Software/Quorvane")

# The programs look for the defaults beside them first (share/quorvane next
# to bin/), then where the package was meant to put them.
target_compile_definitions(qv_app PRIVATE QV_INSTALL_BINDIR="${CMAKE_INSTALL_FULL_BINDIR}"
                           QV_INSTALL_DATADIR="${CMAKE_INSTALL_FULL_DATADIR}/quorvane")

# The desktop icon is the skin's own, converted when the skin is drawn.
add_executable(qv_bmp_to_png ${PROJECT_SOURCE_DIR}/tools/package/BmpToPng.cpp)
target_link_libraries(qv_bmp_to_png PRIVATE Qt6::Gui)
set_target_properties(qv_bmp_to_png PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
set(QV_ICON ${CMAKE_BINARY_DIR}/package/quorvane.png)
add_custom_target(package_icon ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/package
  COMMAND qv_bmp_to_png "${QV_DEMO_INSTALLATION}/Media/Icons/icon_Quorvane.bmp" ${QV_ICON}
  DEPENDS demo qv_bmp_to_png
  BYPRODUCTS ${QV_ICON}
  VERBATIM)

install(TARGETS quorvane quorvane-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY "${QV_DEMO_INSTALLATION}/Media" "${QV_DEMO_INSTALLATION}/Help"
                  "${QV_DEMO_INSTALLATION}/Checklists"
        DESTINATION ${QV_PACKAGE_DATA})
# The demo's assignments name the demo's aircraft: a new installation starts
# with none.
install(DIRECTORY "${QV_DEMO_INSTALLATION}/Data" DESTINATION ${QV_PACKAGE_DATA}
        PATTERN "Checklist_Assignments.dat" EXCLUDE)
install(FILES ${PROJECT_SOURCE_DIR}/demo/Installation/QV_Information.cfg DESTINATION ${QV_PACKAGE_DATA})
install(FILES ${PROJECT_SOURCE_DIR}/tools/package/quorvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QV_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "Veltrane Software")
set(CPACK_PACKAGE_CONTACT "Veltrane Software <support@veltrane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Voice commands and spoken checklists for a flight simulator")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Quorvane edits the voice command set and the spoken checklists of a flight simulator, compiles them for the "
  "recogniser and starts the simulator with the speech runtime. Run 'quorvane-cli install SIM_DIR' (or start "
  "Quorvane and choose the simulator folder) to set it up in a simulator.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "pocketsphinx-en-us")
set(CPACK_STRIP_FILES ON)
include(CPack)
