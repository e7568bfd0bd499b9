# Installation and the Debian package (cpack -G DEB): the program and the field tools in /usr/bin, manual pages
# made from their --help, the desktop entry, icons, AppStream metainfo, copyright and changelog.
include(GNUInstallDirs)

set(OBRIX_INSTALLED_TOOLS em38-sim gnss-sim obrix38-ports t38dump t38export t38grid nmea-check export-plot)
install(TARGETS obrix38 ${OBRIX_INSTALLED_TOOLS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(pkg ${CMAKE_SOURCE_DIR}/packaging)
set(gen ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${gen}/man)

# Manual pages from each program's --help and --version.
set(man_obrix38 "field data logger for EM38 ground-conductivity surveys")
set(man_em38-sim "EM38 simulator on a pseudo-terminal")
set(man_gnss-sim "GNSS receiver simulator on a pseudo-terminal")
set(man_obrix38-ports "list serial devices and link them as COM ports")
set(man_t38dump "print a survey data file one record a line")
set(man_t38export "export the readings of a survey data file with their positions")
set(man_t38grid "grid a survey data file into a GeoTIFF")
set(man_nmea-check "check a GNSS receiver's output as the logger reads it")
set(man_export-plot "draw an exported GeoJSON survey as a PNG")
set(man_pages)
foreach(prog obrix38 ${OBRIX_INSTALLED_TOOLS})
  set(include_opt)
  set(include_dep)
  if(EXISTS ${pkg}/${prog}.h2m)
    set(include_opt --include=${pkg}/${prog}.h2m)
    set(include_dep ${pkg}/${prog}.h2m)
  endif()
  add_custom_command(OUTPUT ${gen}/man/${prog}.1.gz
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            help2man --no-info --no-discard-stderr --section=1 "--name=${man_${prog}}" ${include_opt}
            --output=${gen}/man/${prog}.1 $<TARGET_FILE:${prog}>
    COMMAND gzip -9nf ${gen}/man/${prog}.1
    DEPENDS ${prog} ${include_dep}
    COMMENT "Manual page of ${prog}" VERBATIM)
  list(APPEND man_pages ${gen}/man/${prog}.1.gz)
endforeach()

# Icons rendered from the SVG at the theme's sizes.
set(icon_svg ${CMAKE_SOURCE_DIR}/src/resources/icons/obrix38.svg)
set(icon_pngs)
foreach(side 48 128)
  add_custom_command(OUTPUT ${gen}/icons/${side}/obrix38.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${gen}/icons/${side}
    COMMAND rsvg-convert --width=${side} --height=${side} --output=${gen}/icons/${side}/obrix38.png ${icon_svg}
    DEPENDS ${icon_svg} COMMENT "Icon at ${side} px" VERBATIM)
  list(APPEND icon_pngs ${gen}/icons/${side}/obrix38.png)
  install(FILES ${gen}/icons/${side}/obrix38.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${side}x${side}/apps)
endforeach()

configure_file(${pkg}/changelog ${gen}/changelog @ONLY)
add_custom_command(OUTPUT ${gen}/changelog.gz
  COMMAND gzip -9nc ${gen}/changelog > ${gen}/changelog.gz
  DEPENDS ${gen}/changelog VERBATIM)
configure_file(${pkg}/obrix38.metainfo.xml ${gen}/obrix38.metainfo.xml @ONLY)

add_custom_target(package_files ALL DEPENDS ${man_pages} ${icon_pngs} ${gen}/changelog.gz)

install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${pkg}/obrix38.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${gen}/obrix38.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/docs/logging-screen.png ${CMAKE_SOURCE_DIR}/docs/setup-screen.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/obrix38/screenshots)
install(FILES ${pkg}/copyright ${gen}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME obrix38)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "Obrix38 maintainers <maintainers@users.noreply.c-seed-939e20c4.example>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, not linked: the SVG icon plug-in and the fonts the screens draw with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, fonts-liberation, fonts-dejavu-core")
# Receivers held by gpsd are read through it (gpsd:// port links).
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gpsd")
# The summary is the first line of the Description field; CPack puts it above the extended description.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "field data logger for EM38 ground-conductivity surveys")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Obrix38 reads an EM38 ground-conductivity meter and a GNSS receiver over
serial ports, records readings and positions into a survey data file and
shows the covered ground as a live colour map.
.
The tools export surveys as CSV, GeoJSON, KML or GeoPackage, grid them into
GeoTIFF, check a receiver's output and simulate both instruments.")
include(CPack)
