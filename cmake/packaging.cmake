# SPDX-License-Identifier: GPL-3.0-or-later
# The manual pages, changelog, copyright, AppStream metadata and shell
# completion, and the Debian package of everything installed (cpack -G DEB in
# the build folder).

# The manual pages carry the project's version. Debian installs them and the
# changelog compressed with gzip -9n: no name or time in the header, so the
# same text always gives the same bytes.
find_program(QUIBO_GZIP gzip REQUIRED)
set(QUIBO_COMPRESSED_DOCS)
foreach(page quibo.1 quibo-info.1)
  configure_file(man/${page}.in man/${page} @ONLY)
  list(APPEND QUIBO_COMPRESSED_DOCS man/${page})
endforeach()
configure_file(deb/changelog changelog COPYONLY)
list(APPEND QUIBO_COMPRESSED_DOCS changelog)
list(TRANSFORM QUIBO_COMPRESSED_DOCS PREPEND ${CMAKE_CURRENT_BINARY_DIR}/)
foreach(text ${QUIBO_COMPRESSED_DOCS})
  add_custom_command(OUTPUT ${text}.gz COMMAND ${QUIBO_GZIP} -9nkf ${text} DEPENDS ${text} VERBATIM)
endforeach()
list(TRANSFORM QUIBO_COMPRESSED_DOCS APPEND .gz)
add_custom_target(compressed_docs ALL DEPENDS ${QUIBO_COMPRESSED_DOCS})

install(FILES ${CMAKE_CURRENT_BINARY_DIR}/man/quibo.1.gz ${CMAKE_CURRENT_BINARY_DIR}/man/quibo-info.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz deb/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES res/io.github.quibo.Quibo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES res/quibo-info.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME quibo-info)
# The JSON Schema of quibo-info --json, for scripts.
install(FILES docs/quibo-info.schema.json DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME quibo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quibo developers <quibo@users.noreply.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "identify the video codec of AVI files and edit their RIFF INFO tags")
set(CPACK_PACKAGE_DESCRIPTION
    "Quibo reports what is inside an AVI file: the video codec (FourCC, name,
vendor and whether a decoder is installed), stream facts, and the RIFF INFO
metadata, which it can also edit without changing the file's length. It comes
as a Qt window, quibo, and a command line, quibo-info.")
# The programs look for Quibo.dat in the data folder compiled in from
# CMAKE_INSTALL_PREFIX, so the package installs under that same prefix
# (scripts/package configures /usr).
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_GENERATOR DEB)
# The build keeps debug information; the package does not need it.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends: the libraries the programs link, with the versions their symbols
# need, as dpkg-shlibdeps finds them in the built programs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# FFmpeg's libraries are opened with dlopen only to tell which decoders are
# installed; without them both programs still work and show no decoder as
# installed, so they are recommended (apt installs them by default), not
# required.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libavcodec59, libavformat59")
include(CPack)
