# Install rules and the Debian package. Included from the top CMakeLists.txt once every
# target exists. Where each file goes (paths below the install prefix, /usr for the
# package):
#
#   bin/vanta-host                                      the reference host
#   <libdir>/vanta/packages/libSystemDll.so             package libraries, where hosts look
#   share/applications/com.corvane.VantaHost.desktop    desktop entry
#   share/metainfo/com.corvane.VantaHost.metainfo.xml   AppStream metadata
#   share/icons/hicolor/<n>x<n>/apps/com.corvane.VantaHost.png, scalable/apps/...svg
#   share/man/man1/vanta-host.1.gz                      manual page
#   share/doc/vanta-host/copyright, changelog.gz        what every Debian package carries
#
# <libdir> is GNUInstallDirs' CMAKE_INSTALL_LIBDIR: lib/x86_64-linux-gnu for /usr on
# Debian, lib elsewhere. Translations are embedded in the library: nothing to install.
include(GNUInstallDirs)

set(SYSTEMDLL_APP_ID com.corvane.VantaHost)
set(SYSTEMDLL_INSTALL_PACKAGEDIR ${CMAKE_INSTALL_LIBDIR}/vanta/packages)
set(SYSTEMDLL_FULL_PACKAGEDIR ${CMAKE_INSTALL_FULL_LIBDIR}/vanta/packages)
set(_systemdll_data ${PROJECT_SOURCE_DIR}/host/data)
set(_systemdll_data_out ${CMAKE_BINARY_DIR}/host-data)

# Directories 0755 whatever the umask of the one who builds.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The host finds the library from its own folder, so that the tree also works unpacked
# into another root: the path from bindir to the packages folder is compiled in (into
# the one file that searches, so a new prefix rebuilds only that file).
# The fuzz targets compile the host's sources as well.
file(RELATIVE_PATH SYSTEMDLL_PACKAGES_FROM_BINDIR ${CMAKE_INSTALL_FULL_BINDIR} ${SYSTEMDLL_FULL_PACKAGEDIR})
set(_systemdll_host_source_dirs ${PROJECT_SOURCE_DIR}/host)
if(SYSTEMDLL_FUZZ)
    list(APPEND _systemdll_host_source_dirs ${PROJECT_SOURCE_DIR}/fuzz)
endif()
set_source_files_properties(${PROJECT_SOURCE_DIR}/host/packageloader.cpp
    DIRECTORY ${_systemdll_host_source_dirs}
    PROPERTIES COMPILE_DEFINITIONS "VANTA_PACKAGES_FROM_BINDIR=\"${SYSTEMDLL_PACKAGES_FROM_BINDIR}\"")

install(TARGETS vanta-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS SystemDll LIBRARY DESTINATION ${SYSTEMDLL_INSTALL_PACKAGEDIR} NAMELINK_SKIP)

# Desktop integration.
install(FILES ${_systemdll_data}/${SYSTEMDLL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_systemdll_data}/${SYSTEMDLL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_systemdll_data}/${SYSTEMDLL_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Icons at the hicolor theme's usual sizes, drawn from the SVG by the package's icon
# renderer.
if(NOT TARGET systemdll_icongen)
    message(FATAL_ERROR "systemdll_icongen (src/resources/icongen) must exist to draw the host's icons")
endif()
set(_systemdll_data_files)
foreach(size 16 22 24 32 48 64 128 256 512)
    set(png ${_systemdll_data_out}/icons/${size}x${size}/${SYSTEMDLL_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                $<TARGET_FILE:systemdll_icongen> png ${_systemdll_data}/${SYSTEMDLL_APP_ID}.svg ${png} ${size}x${size}
        DEPENDS ${_systemdll_data}/${SYSTEMDLL_APP_ID}.svg systemdll_icongen
        COMMENT "Drawing the ${size}x${size} application icon"
        VERBATIM)
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    list(APPEND _systemdll_data_files ${png})
endforeach()

# gzip -n: no name or time stamp in the file, so a rebuild gives the same bytes.
function(_systemdll_gzip input)
    add_custom_command(OUTPUT ${input}.gz
        COMMAND gzip -9 -n -k -f ${input}
        DEPENDS ${input}
        VERBATIM)
endfunction()

# Manual page: the host's options, the packages folder and the profile files.
configure_file(${_systemdll_data}/vanta-host.1.in ${_systemdll_data_out}/vanta-host.1 @ONLY)
_systemdll_gzip(${_systemdll_data_out}/vanta-host.1)
install(FILES ${_systemdll_data_out}/vanta-host.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
list(APPEND _systemdll_data_files ${_systemdll_data_out}/vanta-host.1.gz)

# GNOME Shell extension for window control on Wayland (metadata.json, extension.js),
# below ${SYSTEMDLL_INSTALL_SHELL_EXTENSIONDIR}/<uuid>/; the package carries it.
set(SYSTEMDLL_INSTALL_SHELL_EXTENSIONDIR ${CMAKE_INSTALL_DATADIR}/gnome-shell/extensions)
set(_systemdll_shell_extension ${PROJECT_SOURCE_DIR}/src/platform/windowcontrol/gnome/extension)
install(FILES ${_systemdll_shell_extension}/metadata.json ${_systemdll_shell_extension}/extension.js
    DESTINATION ${SYSTEMDLL_INSTALL_SHELL_EXTENSIONDIR}/window-control@vanta.corvane.com)

# The Debian package (cpack -G DEB; scripts/package). Shared-library dependencies come
# from dpkg-shlibdeps.
set(SYSTEMDLL_PACKAGE_MAINTAINER "System package developers <systemdll@corvane.example>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vanta-host)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reference host for the System package of a control surface")
set(CPACK_PACKAGE_DESCRIPTION "vanta-host drives a USB control surface with programmable LCD keys on a virtual
deck, and loads the System package library, which gives the keys six actions:
open a URL, open an application or file, type a text, send a hotkey, send a
media key, and move, resize or close a window.

The package library is installed where hosts find package libraries:
${SYSTEMDLL_FULL_PACKAGEDIR}
Without a display the host runs scripts headless and prints JSON lines.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${SYSTEMDLL_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads the SVG key and button images through a plugin, which dpkg-shlibdeps cannot
# see; opening URLs and files goes through xdg-open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6 (>= 6.4)")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)

set(_systemdll_doc ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in ${_systemdll_data_out}/changelog @ONLY)
_systemdll_gzip(${_systemdll_data_out}/changelog)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright ${_systemdll_data_out}/changelog.gz
        DESTINATION ${_systemdll_doc})
list(APPEND _systemdll_data_files ${_systemdll_data_out}/changelog.gz)

add_custom_target(vanta-host-data ALL DEPENDS ${_systemdll_data_files})

include(CPack)

# The installed tree, checked by installing it into a scratch root.
if(SYSTEMDLL_TESTS)
    systemdll_add_test(tst_installedhost
        SOURCES ${PROJECT_SOURCE_DIR}/tests/host/tst_installedhost.cpp
        LIBRARIES Qt6::Gui)
    target_compile_definitions(tst_installedhost PRIVATE
        CMAKE_COMMAND="${CMAKE_COMMAND}"
        BUILD_DIR="${CMAKE_BINARY_DIR}"
        PROJECT_VERSION="${PROJECT_VERSION}"
        APP_ID="${SYSTEMDLL_APP_ID}"
        INSTALL_BINDIR="${CMAKE_INSTALL_FULL_BINDIR}"
        INSTALL_PACKAGEDIR="${SYSTEMDLL_FULL_PACKAGEDIR}"
        INSTALL_DATADIR="${CMAKE_INSTALL_FULL_DATADIR}"
        INSTALL_MANDIR="${CMAKE_INSTALL_FULL_MANDIR}")
    add_dependencies(tst_installedhost vanta-host SystemDll vanta-host-data)
endif()
