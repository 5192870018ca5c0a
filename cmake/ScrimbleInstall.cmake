# What `cmake --install` puts in place (PREFIX/bin, the desktop entry with its three
# actions, the icon, the AppStream metainfo, the manual page, the copyright and the
# changelog) and the .deb that `make package` builds with CPack; its library
# dependencies come from dpkg-shlibdeps.
include(GNUInstallDirs)
install(TARGETS scrimble RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# KWin lets a program take screenshots when its desktop entry says so and names the
# program by its full path, which is known only when the install runs (a package
# installs to /usr): the entry is written then.
install(CODE "
  file(READ \"${PROJECT_SOURCE_DIR}/data/scrimble.desktop\" entry)
  string(REPLACE \"Exec=scrimble\" \"Exec=\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/scrimble\" entry \"\${entry}\")
  file(WRITE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/scrimble.desktop\" \"\${entry}\")
")
install(FILES data/scrimble.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES data/io.github.scrimble.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Compressed as Debian keeps them, without the time stamp that gzip would store, so
# that two builds give the same bytes.
foreach(document scrimble.1 changelog)
  add_custom_command(OUTPUT ${document}.gz
                     COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/data/${document} > ${document}.gz
                     DEPENDS ${PROJECT_SOURCE_DIR}/data/${document} VERBATIM)
endforeach()
add_custom_target(compressed_documents ALL DEPENDS scrimble.1.gz changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/scrimble.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES data/copyright ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/scrimble)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME scrimble)
set(CPACK_PACKAGE_VENDOR "Scrimble")
set(CPACK_PACKAGE_CONTACT "Scrimble developers <scrimble-devel@lists.scrimble.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Screen capture that freezes the screen and saves exactly the part you select")
# The extended description is the AppStream text's English paragraphs, in lines that
# fit Debian's 80 columns; CPack puts the summary above it.
file(READ data/io.github.scrimble.metainfo.xml metainfo)
string(REGEX MATCHALL "<p>[^<]*</p>" paragraphs "${metainfo}")
set(description "")
foreach(paragraph IN LISTS paragraphs)
  string(REGEX REPLACE "</?p>" "" paragraph "${paragraph}")
  string(STRIP "${paragraph}" paragraph)
  string(REGEX REPLACE "[ \n]+" ";" words "${paragraph}")
  if(description)
    string(APPEND description "\n\n")
  endif()
  set(line "")
  foreach(word IN LISTS words)
    string(LENGTH "${line} ${word}" length)
    if(line AND length GREATER 78)
      string(APPEND description "${line}\n")
      set(line "${word}")
    elseif(line)
      string(APPEND line " ${word}")
    else()
      set(line "${word}")
    endif()
  endforeach()
  string(APPEND description "${line}")
endforeach()
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${description}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY scrimble)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Without a Japanese face every caption is a row of boxes; Qt's translations give its
# own dialogs the program's language. Wayland desktops need XWayland for the windows,
# the portal for the screen and wl-copy to put images on the clipboard.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk | fonts-vlgothic, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xwayland, xdg-desktop-portal, wl-clipboard")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_STRIP_FILES ON)
include(CPack)
