# The Debian package built by scripts/package: the executable in bin/, the menu entry with the
# program's icon in every size a menu asks for, the marker that sends an installed copy's files to
# the user's data folder, and the documents Debian asks of every package.
# The maintainer is whoever builds the package, as Debian's own tools learn it (DEBFULLNAME and
# DEBEMAIL). Without them: the developers, with an address that says plainly it is none (the
# reserved .invalid domain), for the project has no public address yet.
if(DEFINED ENV{DEBFULLNAME} AND DEFINED ENV{DEBEMAIL})
  set(CPACK_PACKAGE_CONTACT "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
else()
  set(CPACK_PACKAGE_CONTACT "Keldra logger developers <no-address@keldra.invalid>")
endif()

install(TARGETS keldra RUNTIME DESTINATION bin)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/packaging/keldra.desktop DESTINATION share/applications)

# The icons are the main window's logo, drawn at each size while building.
add_executable(keldra_icons ${CMAKE_CURRENT_SOURCE_DIR}/packaging/IconRenderer.cpp)
target_link_libraries(keldra_icons PRIVATE keldra_qt)
keldra_warnings(keldra_icons)
set(icon_sizes 16 22 24 32 48 64 128 256)
set(icon_folder ${CMAKE_BINARY_DIR}/icons)
set(icon_files)
foreach(size ${icon_sizes})
  list(APPEND icon_files ${icon_folder}/${size}x${size}/apps/keldra.png)
endforeach()
add_custom_command(OUTPUT ${icon_files} COMMAND keldra_icons ${icon_folder} ${icon_sizes}
                   DEPENDS keldra_icons VERBATIM)

# Debian wants the change log and the manual page compressed, without a time stamp inside.
set(doc_folder ${CMAKE_BINARY_DIR}/doc)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog.in ${doc_folder}/changelog @ONLY)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/packaging/keldra.1.in ${doc_folder}/keldra.1 @ONLY)
foreach(doc changelog keldra.1)
  add_custom_command(OUTPUT ${doc_folder}/${doc}.gz
                     COMMAND gzip -9nf ${doc} WORKING_DIRECTORY ${doc_folder}
                     DEPENDS ${doc_folder}/${doc} VERBATIM)
endforeach()
add_custom_target(keldra_package_files ALL DEPENDS ${icon_files} ${doc_folder}/changelog.gz
                                                   ${doc_folder}/keldra.1.gz)

install(DIRECTORY ${icon_folder}/ DESTINATION share/icons/hicolor)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/packaging/installato DESTINATION share/keldra)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/packaging/copyright ${doc_folder}/changelog.gz
        DESTINATION share/doc/keldra)
install(FILES ${doc_folder}/keldra.1.gz DESTINATION share/man/man1)

# scripts/package builds what the package holds; CPack need not build every test first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME keldra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Keldra logger developers")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Folders as Debian wants them, whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                                GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt libraries and the C++ run time, as dpkg-shlibdeps reads them off the executable; the
# fonts because the windows are laid out for DejaVu Sans.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
# rigctld and rotctld, for a rig or rotator shared with other programs over the network.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libhamlib-utils")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "logger for the Keldra VHF QRP Test contest")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "The Keldra VHF QRP Test is a one-day, low-power amateur-radio contest on
144 MHz. This logger takes each contact in one row of fields, shows the
distance and bearing from the station's locator while the operator types,
refuses duplicates, scores by distance, saves the contest after every
contact, and writes the EDI log for submission. Its interface is in Italian.

The contest files are kept in ~/.local/share/keldra, or in the folder given
with --cartella.")
include(CPack)
