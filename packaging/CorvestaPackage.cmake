# The Debian package, made by CPack from the install rules of the tree that
# was built: "cpack -G DEB" in the build folder (scripts/package-check).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvesta)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Corvesta developers")
set(CPACK_PACKAGE_CONTACT "Corvesta developers <corvesta@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "set-up utility for small NAS boxes")
set(CPACK_PACKAGE_INSTALL_DIRECTORY corvesta)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gvfs-backends, gvfs-fuse")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The extended description; the synopsis is the summary above.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Corvesta finds the small network-attached storage boxes on the local
network with a UDP multicast probe, logs in to one and drives the box's own
web service: the first-set-up wizard (password, name, time zone, network,
disk mode and formatting, drive mapping), a new IP address for a box outside
the PC's subnet, the box's volumes and shares, and its web centers in the
browser.
.
The package holds the windowed program, corvesta, and corvesta-cli, which
does the same work from a terminal.")
include(CPack)
