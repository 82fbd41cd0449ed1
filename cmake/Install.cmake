# The installed layout: PREFIX/bin holds the programs, PREFIX/share/labelkobo
# the templates and the sample; the desktop entry, icons, MIME type,
# AppStream metainfo and man pages go where desktops look for them. The
# program recognises this layout and keeps its own files in the user's XDG
# folders, never in the prefix.
include(GNUInstallDirs)

set(LABELKOBO_APP_ID org.labelkobo.labelkobo)
set(desktop_dir ${CMAKE_SOURCE_DIR}/data/desktop)

install(TARGETS labelkobo vrdtool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROGRAM_DATA} DESTINATION ${CMAKE_INSTALL_DATADIR}/labelkobo/templates)
install(FILES ${CMAKE_SOURCE_DIR}/samples/sample.VRD DESTINATION ${CMAKE_INSTALL_DATADIR}/labelkobo/samples)

install(FILES ${desktop_dir}/${LABELKOBO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop_dir}/${LABELKOBO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${desktop_dir}/labelkobo-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME labelkobo.xml)
install(FILES ${desktop_dir}/labelkobo.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 256)
  install(FILES ${desktop_dir}/labelkobo-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME labelkobo.png)
endforeach()

# Man pages, compressed as Debian keeps them (-n: no time stamp, so the
# package is the same byte for byte from one build to the next).
find_program(GZIP gzip REQUIRED)
foreach(page labelkobo vrdtool)
  set(compressed ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${GZIP} -9nc ${CMAKE_SOURCE_DIR}/docs/man/${page}.1 > ${compressed}
    DEPENDS ${CMAKE_SOURCE_DIR}/docs/man/${page}.1 VERBATIM)
  list(APPEND man_pages ${compressed})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${CMAKE_SOURCE_DIR}/docs/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
