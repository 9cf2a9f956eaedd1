# The Debian package: `cpack -G DEB` in the build directory (or the target
# `package`) installs the tree under /usr and packs it with the desktop
# entry, AppStream metadata, icons and MIME types. tools/run-tests.sh checks
# the package with dpkg -x, a start of the unpacked program and lintian.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "dorvane")
set(CPACK_PACKAGE_VENDOR "Quorvel")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "Quorvel <dorvane@quorvel.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "workbench for devices on serial ports, TCP and UDP")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_SECTION "electronics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The extended description; CPack puts the summary above it as the synopsis
# and indents every line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Dorvane is a desktop workbench for engineers who talk to devices over serial
ports and IP networks: a live traffic log in hex or text, one-shot and
periodic sending, a calculator and CRC catalogue, send history, instruct sets,
transmit protocols with value generators, protocol sets and a receive-frame
parser. dorvane-devsim plays a device (echo, telemetry, a Modbus RTU slave,
canned replies) on a pseudo-terminal and local ports to try it without
hardware.")
# Dependencies from the programs' and libraries' own needs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries in /usr/lib are made known to the dynamic linker by dpkg's
# ldconfig trigger.
file(WRITE "${CMAKE_BINARY_DIR}/debian/triggers" "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${CMAKE_BINARY_DIR}/debian/triggers")
# A font with Chinese glyphs, for the zh-CN and zh-TW catalogues. WenQuanYi
# Micro Hei first: its lines are no taller than the Latin ones, so the main
# window's 1200 x 700 layout holds; Noto's taller lines make the channel
# window scroll.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "shared-mime-info, desktop-file-utils, fonts-wqy-microhei | fonts-noto-cjk")

if(UNIX AND NOT APPLE)
    # Debian keeps a package's copyright and compressed changelog in its doc directory.
    set(DORVANE_DEB_CHANGELOG "${CMAKE_BINARY_DIR}/debian/changelog.gz")
    add_custom_command(OUTPUT "${DORVANE_DEB_CHANGELOG}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/debian"
        COMMAND gzip -9nc "${PROJECT_SOURCE_DIR}/resources/linux/debian/changelog" > "${DORVANE_DEB_CHANGELOG}"
        DEPENDS "${PROJECT_SOURCE_DIR}/resources/linux/debian/changelog")
    add_custom_target(dorvane_deb_changelog ALL DEPENDS "${DORVANE_DEB_CHANGELOG}")
    install(FILES "${PROJECT_SOURCE_DIR}/resources/linux/debian/copyright" "${DORVANE_DEB_CHANGELOG}"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/dorvane")
    # Manual pages, compressed as Debian keeps them.
    set(DORVANE_MAN_PAGES)
    foreach(page Dorvane dorvane-devsim)
        set(source "${PROJECT_SOURCE_DIR}/resources/linux/man/${page}.1")
        set(target_file "${CMAKE_BINARY_DIR}/debian/${page}.1.gz")
        add_custom_command(OUTPUT "${target_file}"
            COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/debian"
            COMMAND gzip -9nc "${source}" > "${target_file}"
            DEPENDS "${source}")
        list(APPEND DORVANE_MAN_PAGES "${target_file}")
    endforeach()
    add_custom_target(dorvane_man_pages ALL DEPENDS ${DORVANE_MAN_PAGES})
    install(FILES ${DORVANE_MAN_PAGES} DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endif()

include(CPack)
