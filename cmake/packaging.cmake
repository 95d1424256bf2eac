# The manual pages, AppStream metadata and shell completion, and the Debian
# package of everything installed (cpack -G DEB in the build folder).
install(FILES man/quibo.1 man/quibo-info.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES res/io.github.quibo.Quibo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES res/quibo-info.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME quibo-info)
# The JSON Schema of quibo-info --json, for scripts.
install(FILES docs/quibo-info.schema.json DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME quibo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quibo developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "identify the video codec of AVI files and edit their RIFF INFO tags")
set(CPACK_PACKAGE_DESCRIPTION
    "Quibo reports what is inside an AVI file: the video codec (FourCC, name, vendor and whether a decoder is
installed), stream facts, and the RIFF INFO metadata, which it can also edit without changing the file's
length. It comes as a Qt window, quibo, and a command line, quibo-info.")
# The programs look for Quibo.dat in the data folder compiled in from
# CMAKE_INSTALL_PREFIX, so the package installs under that same prefix
# (scripts/package configures /usr).
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_GENERATOR DEB)
# The build keeps debug information; the package does not need it.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quibo developers")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link, with the symbol versions they use.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6 (>= 2.34), libstdc++6 (>= 11), libgcc-s1, libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4)")
# FFmpeg's libraries are opened with dlopen only to tell which decoders are
# installed; without them both programs still work and show no decoder as
# installed, so they are recommended (apt installs them by default), not
# required.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libavcodec59, libavformat59")
include(CPack)
