# Installation and the .deb: the programs with their data beside them in one program folder,
# links in the binary path, the udev rule, desktop entries, icons, man pages and completions.
include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/UdevRulesDir.cmake)

set(ZARVIN_PROGRAM_DIR lib/zarvin CACHE STRING
    "Program folder, relative to the prefix: the programs and Skins/, Help/, the language files")
set(program_dir_full ${CMAKE_INSTALL_PREFIX}/${ZARVIN_PROGRAM_DIR})
set(zarvin_programs zarvinctl)
if(TARGET zarvin)
  list(APPEND zarvin_programs zarvin)
endif()

# The programs find their data beside /proc/self/exe, which names the file behind the link.
install(TARGETS ${zarvin_programs} RUNTIME DESTINATION ${ZARVIN_PROGRAM_DIR})
file(GLOB zarvin_language_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/res/Lang*.ini)
install(FILES ${zarvin_language_files} DESTINATION ${ZARVIN_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Help ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Skins
        DESTINATION ${ZARVIN_PROGRAM_DIR})
file(RELATIVE_PATH program_dir_from_bin ${CMAKE_INSTALL_FULL_BINDIR} ${program_dir_full})
foreach(program IN LISTS zarvin_programs)
  install(CODE "
    set(bin_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${bin_dir}\")
    file(REMOVE \"\${bin_dir}/${program}\")
    file(CREATE_LINK \"${program_dir_from_bin}/${program}\" \"\${bin_dir}/${program}\" SYMBOLIC)
    message(STATUS \"Installing: \${bin_dir}/${program} -> ${program_dir_from_bin}/${program}\")
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${bin_dir}/${program}\")")
endforeach()

# The rule imports the helper by its full installed path: udev runs it with no search path. Its
# matches are written from the keyboard model table (tools/udevrulegen).
set(ZARVIN_UDEV_HELPER ${CMAKE_INSTALL_FULL_BINDIR}/zarvinctl)
add_subdirectory(${PROJECT_SOURCE_DIR}/tools/udevrulegen ${PROJECT_BINARY_DIR}/tools/udevrulegen)
install(FILES ${ZARVIN_UDEV_RULE_OUTPUT} DESTINATION ${ZARVIN_UDEV_RULES_DIR})

# Man pages, compressed as Debian keeps them.
find_program(GZIP_PROGRAM gzip)
set(pages zarvinctl.1)
if(TARGET zarvin)
  list(APPEND pages zarvin.1)
endif()
foreach(page IN LISTS pages)
  set(source ${PROJECT_SOURCE_DIR}/packaging/man/${page})
  if(GZIP_PROGRAM)
    set(compressed ${PROJECT_BINARY_DIR}/packaging/man/${page}.gz)
    add_custom_command(
      OUTPUT ${compressed}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging/man
      COMMAND ${GZIP_PROGRAM} -9nc ${source} > ${compressed}
      DEPENDS ${source}
      COMMENT "Compressing the man page ${page}")
    list(APPEND man_pages ${compressed})
  else()
    list(APPEND man_pages ${source})
  endif()
endforeach()
add_custom_target(zarvin_man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Shell completions of zarvinctl, where bash-completion, zsh and fish look for them on Debian.
set(completions ${PROJECT_SOURCE_DIR}/packaging/completions)
install(FILES ${completions}/zarvinctl.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME zarvinctl)
install(FILES ${completions}/_zarvinctl DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
install(FILES ${completions}/zarvinctl.fish
        DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)

# The desktop: menu entry, autostart with the window hidden, icons. Only with the window.
if(ZARVIN_GUI)
  add_subdirectory(${PROJECT_SOURCE_DIR}/tools/icongen ${PROJECT_BINARY_DIR}/tools/icongen)
endif()
if(TARGET zarvin)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/zarvin.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/zarvin-autostart.desktop
          DESTINATION ${CMAKE_INSTALL_FULL_SYSCONFDIR}/xdg/autostart RENAME zarvin.desktop)
  foreach(size IN LISTS ZARVIN_ICON_SIZES)
    install(FILES ${ZARVIN_ICON_FOLDER}/zarvin-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME zarvin.png)
  endforeach()
  install(FILES ${ZARVIN_ICON_FOLDER}/zarvin.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# The .deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zarvin)
set(CPACK_PACKAGE_VENDOR "Zarvin developers")
set(CPACK_PACKAGE_CONTACT "Zarvin developers <zarvin@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configurator for the Morvane VX77HUE keyboards")
# The summary above is the synopsis line; this is the long description.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Assigns keys, records macros, sets the lighting and per-key colours and keeps the\n"
    "keyboard's three profiles, with backups on the computer. Comes with a window (zarvin),\n"
    "a command-line tool (zarvinctl) and a udev rule that gives the logged-in user access\n"
    "to the keyboard's command interfaces, never to its key reports.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
if(ZARVIN_HOME_PAGE)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ZARVIN_HOME_PAGE})
endif()
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/packaging/debian/postinst ${PROJECT_SOURCE_DIR}/packaging/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
if(TARGET zarvin)
  # Qt loads its platform plugins at run time, out of sight of dpkg-shlibdeps.
  # The Chinese and Japanese texts need a font with CJK glyphs: the light Droid fallback, or Noto
  # CJK where the desktop has it already.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-droid-fallback | fonts-noto-cjk")
  # Qt's own dialogs (files, colours, message-box buttons) speak the chosen language with it.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils, qt6-translations-l10n")
  # The autostart entry lives under /etc: a configuration file that a purge removes.
  set(ZARVIN_AUTOSTART_FILE ${CMAKE_INSTALL_FULL_SYSCONFDIR}/xdg/autostart/zarvin.desktop)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/conffiles.in
                 ${PROJECT_BINARY_DIR}/packaging/debian/conffiles @ONLY)
  list(APPEND CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/packaging/debian/conffiles)
endif()
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "udev")
include(CPack)
